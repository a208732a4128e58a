#include "backends/glyphs/freetype/FontMapping.h"

#include <fontconfig/fontconfig.h>

#include <array>
#include <string_view>
#include <utility>

namespace dovetail {

namespace {

struct StandIn {
  std::string_view faceName;
  std::array<const char*, 2> families;  // in order of preference; null: none
};

// The free fonts standing in for the ones the game's texts ask for.
constexpr StandIn kStandIns[] = {
    {"ＭＳ ゴシック", {"IPAGothic", nullptr}},     {"ＭＳ Ｐゴシック", {"IPAPGothic", nullptr}},
    {"ＭＳ 明朝", {"IPAMincho", nullptr}},         {"ＭＳ Ｐ明朝", {"IPAPMincho", nullptr}},
    {"Arial", {"Liberation Sans", "DejaVu Sans"}},
};

constexpr const char* kFallbackFamily = "IPAPGothic";

// The Debian package that installs a stand-in family.
std::string PackageFor(const std::string& family) {
  if (family == "IPAGothic" || family == "IPAPGothic") return "fonts-ipafont-gothic";
  if (family == "IPAMincho" || family == "IPAPMincho") return "fonts-ipafont-mincho";
  if (family == "Liberation Sans") return "fonts-liberation";
  return "fonts-dejavu-core";
}

FcConfig* ConfigOf(void* config) {
  return static_cast<FcConfig*>(config);
}

FcFontSet* FontSetOf(void* fonts) {
  return static_cast<FcFontSet*>(fonts);
}

const FcChar8* FcText(const std::string& text) {
  return reinterpret_cast<const FcChar8*>(text.c_str());
}

// fontconfig's match for a pattern that names `family` (none: no family, the
// configuration's default font), among the system's fonts or those of `fonts`.
// Null when there is no font at all.
FcPattern* Match(FcConfig* config, FcFontSet* fonts, const std::string* family) {
  FcPattern* pattern = FcPatternCreate();
  if (family != nullptr) FcPatternAddString(pattern, FC_FAMILY, FcText(*family));
  // Glyphs are drawn from outlines at any size.
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = fonts != nullptr ? FcFontSetMatch(config, &fonts, 1, pattern, &result)
                                      : FcFontMatch(config, pattern, &result);
  FcPatternDestroy(pattern);
  return match;
}

// The file, index and first family of a match; nothing without a file.
std::optional<ResolvedFont> FontOf(FcPattern* match) {
  FcChar8* file = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch) return std::nullopt;
  ResolvedFont font;
  font.file = reinterpret_cast<const char*>(file);
  FcPatternGetInteger(match, FC_INDEX, 0, &font.index);
  FcChar8* family = nullptr;
  if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch) {
    font.family = reinterpret_cast<const char*>(family);
  }
  return font;
}

// The family of `match` that is `family` as fontconfig compares names
// (ignoring case), if it has it among its names.
std::optional<std::string> FamilyNamed(FcPattern* match, const std::string& family) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    if (FcStrCmpIgnoreCase(name, FcText(family)) == 0) {
      return std::string(reinterpret_cast<const char*>(name));
    }
  }
  return std::nullopt;
}

}  // namespace

Result<FontMapping> FontMapping::Create() {
  // One reference to the process's configuration, loaded on first use.
  FcConfig* config = FcConfigReference(nullptr);
  if (config == nullptr) return Error{"fontconfig cannot load its configuration"};
  return CheckStandIns(FontMapping(config, nullptr));
}

Result<FontMapping> FontMapping::CreateForFolders(
    const std::vector<std::filesystem::path>& folders) {
  // An empty configuration (no substitution rules) over the faces of the
  // folders' files, read directly: no font cache is read or written.
  FcConfig* config = FcConfigCreate();
  FcFontSet* fonts = FcFontSetCreate();
  FontMapping mapping(config, fonts);
  if (config == nullptr || fonts == nullptr) {
    return Error{"fontconfig cannot create a configuration"};
  }
  for (const std::filesystem::path& folder : folders) {
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
      std::error_code fileError;  // a dangling link is skipped, not an error
      if (!entries->is_regular_file(fileError)) continue;
      int faces = 0;
      // Every face of the file; files that are not fonts add none.
      FcFreeTypeQueryAll(FcText(entries->path().string()), static_cast<unsigned>(-1), nullptr,
                         &faces, fonts);
    }
    if (error) {
      return Error{folder.string() + ": cannot read the font folder (" + error.message() + ")"};
    }
  }
  return CheckStandIns(std::move(mapping));
}

Result<FontMapping> FontMapping::CheckStandIns(FontMapping mapping) {
  for (const StandIn& standIn : kStandIns) {
    bool found = false;
    std::string families;
    std::string packages;
    for (const char* family : standIn.families) {
      if (family == nullptr) continue;
      found = found || mapping.MatchInstalledFamily(family).has_value();
      families += (families.empty() ? "" : " or ") + std::string(family);
      packages += (packages.empty() ? "" : " or ") + PackageFor(family);
    }
    if (found) continue;
    return Error{"the font " + families + " (for \"" + std::string(standIn.faceName) +
                 "\") is not installed: install the Debian package " + packages};
  }
  mapping.fallback_ = *mapping.MatchInstalledFamily(kFallbackFamily);
  return mapping;
}

FontMapping::FontMapping(FontMapping&& other) noexcept
    : config_(std::exchange(other.config_, nullptr)),
      fonts_(std::exchange(other.fonts_, nullptr)),
      fallback_(std::move(other.fallback_)),
      resolved_(std::move(other.resolved_)) {}

FontMapping& FontMapping::operator=(FontMapping&& other) noexcept {
  if (this != &other) {
    if (config_ != nullptr) FcConfigDestroy(ConfigOf(config_));
    if (fonts_ != nullptr) FcFontSetDestroy(FontSetOf(fonts_));
    config_ = std::exchange(other.config_, nullptr);
    fonts_ = std::exchange(other.fonts_, nullptr);
    fallback_ = std::move(other.fallback_);
    resolved_ = std::move(other.resolved_);
  }
  return *this;
}

FontMapping::~FontMapping() {
  if (config_ != nullptr) FcConfigDestroy(ConfigOf(config_));
  if (fonts_ != nullptr) FcFontSetDestroy(FontSetOf(fonts_));
}

std::optional<ResolvedFont> FontMapping::MatchInstalledFamily(const std::string& family) const {
  FcPattern* match = Match(ConfigOf(config_), FontSetOf(fonts_), &family);
  if (match == nullptr) return std::nullopt;
  std::optional<ResolvedFont> font;
  if (std::optional<std::string> name = FamilyNamed(match, family)) {
    font = FontOf(match);
    if (font) font->family = *name;
  }
  FcPatternDestroy(match);
  return font;
}

std::optional<ResolvedFont> FontMapping::BestMatch(const std::string& name) const {
  if (std::optional<ResolvedFont> font = MatchInstalledFamily(name)) return font;
  // Not a family of its own, but fontconfig may know it as an alias (its
  // configuration maps many well-known names to metric-compatible fonts). An
  // answer that is just the default font means it knows nothing about it.
  FcPattern* match = Match(ConfigOf(config_), FontSetOf(fonts_), &name);
  if (match == nullptr) return std::nullopt;
  std::optional<ResolvedFont> font = FontOf(match);
  FcPatternDestroy(match);
  FcPattern* fallbackMatch = Match(ConfigOf(config_), FontSetOf(fonts_), nullptr);
  std::optional<ResolvedFont> defaultFont;
  if (fallbackMatch != nullptr) {
    defaultFont = FontOf(fallbackMatch);
    FcPatternDestroy(fallbackMatch);
  }
  if (!font ||
      (defaultFont && defaultFont->file == font->file && defaultFont->index == font->index)) {
    return std::nullopt;
  }
  return font;
}

const ResolvedFont& FontMapping::Resolve(const std::string& faceName) {
  auto known = resolved_.find(faceName);
  if (known != resolved_.end()) return known->second;
  std::optional<ResolvedFont> font;
  bool standIn = false;
  for (const StandIn& candidate : kStandIns) {
    if (faceName != candidate.faceName) continue;
    standIn = true;
    for (const char* family : candidate.families) {
      if (!font && family != nullptr) font = MatchInstalledFamily(family);
    }
  }
  if (!standIn && !faceName.empty()) font = BestMatch(faceName);
  return resolved_.emplace(faceName, font ? *font : fallback_).first->second;
}

}  // namespace dovetail
