#pragma once
// The built-in charsets of the Charset submenu and the generated hexadecimal set.

#include "app/app.h"
#include "model/builtin_charsets.h"

namespace fontarel {

// The machine's charset with its two pixel colours.
void load_builtin_charset(App& app, Machine machine);
// Every glyph shows its own code in two hexadecimal digits.
void build_hex_charset(App& app);

} // namespace fontarel
