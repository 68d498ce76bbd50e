#pragma once
// The built-in charsets of the Charset submenu and the generated hexadecimal set.

#include "app/app.h"
#include "app/ids.h"

namespace fontarel {

// One of the eight machine charsets, by its menu id (CharsetCga .. CharsetJupiterAce).
void load_builtin_charset(App& app, MenuId which);
// Every glyph shows its own code in two hexadecimal digits.
void build_hex_charset(App& app);

} // namespace fontarel
