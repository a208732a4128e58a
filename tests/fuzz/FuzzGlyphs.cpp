// Glyph tables (the browser build's text): any bytes give a table or an
// error; a table draws text of its fonts and of fonts it lacks.

#include <cstddef>
#include <cstdint>
#include <string>

#include "backends/glyphs/table/GlyphTable.h"
#include "graphics/TextRenderer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto table = dovetail::GlyphTable::Read(std::string(reinterpret_cast<const char*>(data), size),
                                          "glyphs.bin");
  if (!table.ok()) return 0;
  dovetail::TextRenderer text(std::move(*table));
  dovetail::Surface page(64, 32);
  for (const dovetail::FontSpec& font :
       {dovetail::FontSpec{}, dovetail::FontSpec{"ＭＳ Ｐゴシック", 72, true, true}}) {
    text.DrawText(page, -3, 5, "Aあ漢\xEF\xBD\xB1", font, dovetail::Rgb(1, 2, 3));
    (void)text.LineHeight(font);
  }
  return 0;
}
