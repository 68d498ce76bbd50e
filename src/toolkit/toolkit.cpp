// The platform-independent half of the toolkit: the event queue and the current event, images,
// drawing on rasters, the BMP writer and the command line.

#include "toolkit/toolkit.h"

#include <chrono>
#include <filesystem>
#include <system_error>
#include <utility>

namespace fontarel {

Toolkit::Toolkit(std::vector<std::string> arguments) : arguments_(std::move(arguments)) {}

Toolkit::~Toolkit() = default;

std::string Toolkit::parameter(int index) const {
    if (index < 0 || index >= parameter_count())
        return {};
    return arguments_[static_cast<size_t>(index)];
}

std::string Toolkit::working_directory() {
    std::error_code ec;
    std::string dir = std::filesystem::current_path(ec).string();
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

std::string Toolkit::state_folder() const {
    return user_state_folder("fontarel");
}

int64_t Toolkit::milliseconds() const {
    using namespace std::chrono;
    return duration_cast<std::chrono::milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void Toolkit::close() {
    files_.close_all();
    drawing_ = nullptr;
    images_.clear();
}

int Toolkit::wait_event() {
    if (queue_.empty())
        pump();
    if (queue_.empty()) {
        // Activity without an event: nothing current, so no canvas data stays readable.
        current_ = Event{};
        return current_.code;
    }
    current_ = std::move(queue_.front());
    queue_.pop_front();
    return current_.code;
}

int Toolkit::control_attribute(int control, int attribute) const {
    if (current_.code != kEventControl || current_.source != control)
        return 0;
    // Only canvases carry event data. canvas_picture is a lookup; it changes nothing.
    if (const_cast<Toolkit*>(this)->canvas_picture(control) == nullptr)
        return 0;
    switch (attribute) {
    case kAttrMouseX:
        return current_.x;
    case kAttrMouseY:
        return current_.y;
    case kAttrButtons:
        return current_.buttons;
    case kAttrKey:
        return current_.key;
    case kAttrModifiers:
        return current_.modifiers;
    case kAttrWheel:
        return current_.wheel;
    case kAttrChar:
        return current_.character;
    default:
        return 0;
    }
}

int Toolkit::create_image(int image, int width, int height) {
    if (width <= 0 || height <= 0)
        return 0;
    // Assigning keeps the map node, so a drawing on the old image of this number stays valid.
    images_[image] = Raster(width, height);
    return 1;
}

int Toolkit::grab_image(int source, int image, int x, int y, int width, int height) {
    const auto it = images_.find(source);
    if (it == images_.end() || width <= 0 || height <= 0)
        return 0;
    Raster copy = it->second.crop(x, y, width, height);
    images_[image] = std::move(copy);
    return 1;
}

void Toolkit::free_image(int image) {
    const auto it = images_.find(image);
    if (it == images_.end())
        return;
    if (drawing_ == &it->second)
        drawing_ = nullptr;
    images_.erase(it);
}

const Raster* Toolkit::image(int image) const {
    const auto it = images_.find(image);
    return it == images_.end() ? nullptr : &it->second;
}

int Toolkit::save_image_bmp(int image, const std::string& path) {
    const Raster* raster = this->image(image);
    if (path.empty() || raster == nullptr)
        return 0;
    return write_whole_file(path, encode_bmp(*raster));
}

int Toolkit::save_image_png(int image, const std::string& path) {
    const Raster* raster = this->image(image);
    if (path.empty() || raster == nullptr)
        return 0;
    const std::vector<uint8_t> bytes = encode_png(*raster);
    return bytes.empty() ? 0 : write_whole_file(path, bytes);
}

int Toolkit::begin_drawing(DrawTarget target) {
    drawing_ = nullptr;
    draw_mode_ = kDrawFilled;
    Raster* raster = nullptr;
    if (target.kind == DrawTarget::Kind::Canvas) {
        raster = canvas_picture(target.number);
    } else {
        const auto it = images_.find(target.number);
        if (it != images_.end())
            raster = &it->second;
    }
    if (raster == nullptr || !drawing_allowed(target))
        return 0;
    drawing_ = raster;
    drawing_target_ = target;
    return 1;
}

void Toolkit::draw_box(int x, int y, int width, int height, int colour) {
    if (drawing_ == nullptr)
        return;
    if (draw_mode_ == kDrawOutline)
        drawing_->outline_rect(x, y, width, height, colour);
    else
        drawing_->fill_rect(x, y, width, height, colour);
}

void Toolkit::draw_image(int image, int x, int y) {
    const Raster* src = this->image(image);
    if (drawing_ == nullptr || src == nullptr)
        return;
    drawing_->blit(*src, x, y);
}

void Toolkit::end_drawing() {
    if (drawing_ == nullptr)
        return;
    const PixelRect changed = drawing_->take_dirty();
    drawing_ = nullptr;
    if (drawing_target_.kind == DrawTarget::Kind::Canvas && !changed.empty())
        canvas_updated(drawing_target_.number, changed);
}

} // namespace fontarel
