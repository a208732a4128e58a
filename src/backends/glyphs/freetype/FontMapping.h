#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"

namespace dovetail {

// An installed font file as fontconfig found it.
struct ResolvedFont {
  std::string file;
  int index = 0;       // face index inside the file (collections)
  std::string family;  // the family name fontconfig reports for it
};

// Maps the face names the game asks for to installed fonts through fontconfig.
// The game's Japanese fonts go to metric-compatible free stand-ins:
//   "ＭＳ ゴシック" → IPAGothic, "ＭＳ Ｐゴシック" → IPAPGothic,
//   "ＭＳ 明朝" → IPAMincho, "ＭＳ Ｐ明朝" → IPAPMincho,
//   "Arial" → Liberation Sans, else DejaVu Sans.
// Any other name goes to fontconfig's best match for it; a name fontconfig
// knows nothing about goes to IPAPGothic, which has every character the
// game's texts use.
class FontMapping {
 public:
  // The system's fonts. Fails, naming the Debian package to install, when one
  // of the stand-in fonts is missing.
  static Result<FontMapping> Create();
  // Only the fonts in `folders`, with no system configuration: for programs
  // that carry their own fonts, and for checking the missing-font errors.
  static Result<FontMapping> CreateForFolders(const std::vector<std::filesystem::path>& folders);

  FontMapping(FontMapping&& other) noexcept;
  FontMapping& operator=(FontMapping&& other) noexcept;
  FontMapping(const FontMapping&) = delete;
  FontMapping& operator=(const FontMapping&) = delete;
  ~FontMapping();

  // The installed font for a face name; remembered after the first call.
  const ResolvedFont& Resolve(const std::string& faceName);
  // The font used when nothing better can be had (IPAPGothic).
  const ResolvedFont& Fallback() const { return fallback_; }

 private:
  FontMapping(void* config, void* fonts) : config_(config), fonts_(fonts) {}
  static Result<FontMapping> CheckStandIns(FontMapping mapping);
  // fontconfig's match for `family`, or nothing when that family is not
  // installed (fontconfig would answer with some other family).
  std::optional<ResolvedFont> MatchInstalledFamily(const std::string& family) const;
  std::optional<ResolvedFont> BestMatch(const std::string& name) const;

  void* config_ = nullptr;  // FcConfig, one reference owned
  void* fonts_ = nullptr;   // FcFontSet of the folders, owned; null: the system's fonts
  ResolvedFont fallback_;
  std::map<std::string, ResolvedFont> resolved_;
};

}  // namespace dovetail
