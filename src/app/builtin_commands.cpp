#include "app/builtin_commands.h"

namespace fontarel {

// The glyph tables of the machine charsets arrive with the Charset submenu's commands; until then
// these commands do nothing.
void load_builtin_charset(App&, MenuId) {}
void build_hex_charset(App&) {}

} // namespace fontarel
