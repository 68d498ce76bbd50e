#pragma once
// "Characters image": the charset image saved as a BMP file.

namespace fontarel {

struct App;

void export_charset_image(App& app);

} // namespace fontarel
