#include "toolkit/headless/headless_toolkit.h"

#include <algorithm>

#include "model/colour.h"

namespace fontarel {

namespace {

// The simulated screen that centred windows are placed on, in pixels. Windows have no frame here,
// so the outer frame's position is the inner area's position.
constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;
constexpr Colour kWhite = rgb(255, 255, 255); // a new canvas is white

// The drawing surface of a canvas of the given outer size: the border takes 2 pixels on every side.
int surface(int outer, int flags) {
    return std::max(0, (flags & kCanvasBorder) ? outer - 2 * kCanvasBorderWidth : outer);
}

} // namespace

HeadlessToolkit::HeadlessToolkit(std::vector<std::string> arguments, std::string working_dir)
    : Toolkit(std::move(arguments)), working_dir_(std::move(working_dir)) {}

HeadlessToolkit::~HeadlessToolkit() = default;

std::string HeadlessToolkit::working_directory() {
    if (working_dir_.empty())
        return Toolkit::working_directory();
    return working_dir_.back() == '/' ? working_dir_ : working_dir_ + '/';
}

// Files and images go; the records of windows, controls, menus and messages stay as they were, so a
// test can read the final state after the program has ended.
void HeadlessToolkit::close() {
    Toolkit::close();
    building_menu_ = -1;
    closed_ = true;
}

// ---- Windows

int HeadlessToolkit::open_window(int number, int x, int y, int width, int height,
                                 const std::string& title, int flags) {
    if (failing_windows.count(number) || width < 0 || height < 0)
        return 0;
    if (flags & kWindowCentred) {
        x = (kScreenWidth - width) / 2;
        y = (kScreenHeight - height) / 2;
    }
    const bool visible = !(flags & kWindowHidden);
    windows_[number] = Window{x, y, width, height, title, flags, visible};
    current_window_ = number;
    if (visible)
        active_window_ = number;
    return 1;
}

int HeadlessToolkit::window_left(int number) {
    const Window* w = window(number);
    return w ? w->x : 0;
}

int HeadlessToolkit::window_top(int number) {
    const Window* w = window(number);
    return w ? w->y : 0;
}

void HeadlessToolkit::set_window_hidden(int number, int state) {
    const auto it = windows_.find(number);
    if (it == windows_.end())
        return;
    if (state == 0) {
        it->second.visible = true;
        active_window_ = number;
        return;
    }
    it->second.visible = false;
    if (active_window_ != number)
        return;
    // The hidden window's owner becomes active: the first other window still shown.
    for (const auto& [n, w] : windows_) {
        if (n != number && w.visible) {
            active_window_ = n;
            break;
        }
    }
}

void HeadlessToolkit::resize_window(int number, int x, int y, int width, int height) {
    const auto it = windows_.find(number);
    if (it == windows_.end())
        return;
    Window& w = it->second;
    auto keep = [](int value, int old) { return value == kKeep ? old : value; };
    w.x = keep(x, w.x);
    w.y = keep(y, w.y);
    w.width = std::max(0, keep(width, w.width));
    w.height = std::max(0, keep(height, w.height));
}

void HeadlessToolkit::set_window_title(int number, const std::string& title) {
    const auto it = windows_.find(number);
    if (it != windows_.end())
        it->second.title = title;
}

void HeadlessToolkit::message_box(const std::string& caption, const std::string& text) {
    messages_.push_back({caption, text});
}

const HeadlessToolkit::Window* HeadlessToolkit::window(int number) const {
    const auto it = windows_.find(number);
    return it == windows_.end() ? nullptr : &it->second;
}

// ---- Controls

HeadlessToolkit::Control* HeadlessToolkit::find(int number, std::optional<ControlKind> kind) {
    const auto it = controls_.find(number);
    if (it == controls_.end() || (kind && it->second.kind != *kind))
        return nullptr;
    return &it->second;
}

const HeadlessToolkit::Control* HeadlessToolkit::control(int number) const {
    const auto it = controls_.find(number);
    return it == controls_.end() ? nullptr : &it->second;
}

int HeadlessToolkit::window_of(int control) const {
    const Control* c = this->control(control);
    return c ? c->window : 0;
}

// Every create_* goes through here: the control belongs to the window opened last, and replaces a
// control of the same number. Assigning keeps the map node, so a picture being drawn on stays
// valid.
HeadlessToolkit::Control* HeadlessToolkit::add_control(int number, ControlKind kind, int x, int y,
                                                       int width, int height) {
    if (!windows_.count(current_window_) || width < 0 || height < 0)
        return nullptr;
    Control& c = controls_[number];
    c = Control{};
    c.kind = kind;
    c.window = current_window_;
    c.x = x;
    c.y = y;
    c.width = width;
    c.height = height;
    return &c;
}

int HeadlessToolkit::create_canvas(int control, int x, int y, int width, int height, int flags) {
    Control* c = add_control(control, ControlKind::Canvas, x, y, width, height);
    if (!c)
        return 0;
    c->flags = flags;
    c->picture = Raster(surface(width, flags), surface(height, flags), kWhite);
    return 1;
}

int HeadlessToolkit::create_label(int control, int x, int y, int width, int height,
                                  const std::string& text, int flags) {
    Control* c = add_control(control, ControlKind::Label, x, y, width, height);
    if (!c)
        return 0;
    c->text = text;
    c->flags = flags;
    return 1;
}

int HeadlessToolkit::create_track_bar(int control, int x, int y, int width, int height, int minimum,
                                      int maximum, int flags) {
    Control* c = add_control(control, ControlKind::TrackBar, x, y, width, height);
    if (!c)
        return 0;
    c->minimum = minimum;
    c->maximum = maximum;
    c->flags = flags;
    return 1;
}

int HeadlessToolkit::create_check_box(int control, int x, int y, int width, int height,
                                      const std::string& text) {
    Control* c = add_control(control, ControlKind::CheckBox, x, y, width, height);
    if (!c)
        return 0;
    c->text = text;
    return 1;
}

int HeadlessToolkit::create_button(int control, int x, int y, int width, int height,
                                   const std::string& text) {
    Control* c = add_control(control, ControlKind::Button, x, y, width, height);
    if (!c)
        return 0;
    c->text = text;
    return 1;
}

int HeadlessToolkit::create_text_field(int control, int x, int y, int width, int height,
                                       const std::string& text, int flags) {
    Control* c = add_control(control, ControlKind::TextField, x, y, width, height);
    if (!c)
        return 0;
    c->text = text;
    c->flags = flags;
    return 1;
}

void HeadlessToolkit::set_tooltip(int control, const std::string& text) {
    if (Control* c = find(control))
        c->tooltip = text;
}

void HeadlessToolkit::show_control(int control, bool shown) {
    if (Control* c = find(control))
        c->shown = shown;
}

void HeadlessToolkit::focus_control(int control) {
    const Control* c = find(control);
    if (!c || (c->kind == ControlKind::Canvas && !(c->flags & kCanvasFocusable)))
        return;
    focused_ = control;
}

int HeadlessToolkit::control_state(int control) {
    const Control* c = find(control);
    return c && (c->kind == ControlKind::TrackBar || c->kind == ControlKind::CheckBox) ? c->state
                                                                                       : 0;
}

void HeadlessToolkit::set_track_bar_range(int control, int minimum, int maximum, int page) {
    if (Control* c = find(control, ControlKind::TrackBar); c && minimum <= maximum) {
        c->minimum = minimum;
        c->maximum = maximum;
        c->page = page;
        c->state = std::clamp(c->state, minimum, maximum);
    }
}

// The program's own change: no event, exactly like the platform's controls.
void HeadlessToolkit::set_control_state(int control, int value) {
    if (Control* c = find(control, ControlKind::TrackBar))
        c->state =
            std::clamp(value, std::min(c->minimum, c->maximum), std::max(c->minimum, c->maximum));
    else if (Control* box = find(control, ControlKind::CheckBox))
        box->state = value != 0 ? 1 : 0;
}

void HeadlessToolkit::set_control_text(int control, const std::string& text) {
    Control* c = find(control);
    if (c && (c->kind == ControlKind::Label || c->kind == ControlKind::TextField))
        c->text = text;
}

void HeadlessToolkit::resize_control(int control, int x, int y, int width, int height) {
    Control* c = find(control);
    if (!c || width < 0 || height < 0)
        return;
    c->x = x;
    c->y = y;
    c->width = width;
    c->height = height;
    if (c->kind == ControlKind::Canvas)
        c->picture =
            c->picture.resized(surface(width, c->flags), surface(height, c->flags), kWhite);
}

int HeadlessToolkit::control_width(int control) {
    const Control* c = find(control);
    return c ? c->width : 0;
}

int HeadlessToolkit::control_height(int control) {
    const Control* c = find(control);
    return c ? c->height : 0;
}

void HeadlessToolkit::enable_file_drop(int control) {
    if (Control* c = find(control))
        c->drop_enabled = true;
}

Raster* HeadlessToolkit::canvas_picture(int control) {
    Control* c = find(control, ControlKind::Canvas);
    return c ? &c->picture : nullptr;
}

void HeadlessToolkit::canvas_updated(int, PixelRect) {
    // The picture is the canvas here; there is no screen to repaint.
}

bool HeadlessToolkit::drawing_allowed(const DrawTarget& target) {
    const std::set<int>& failing =
        target.kind == DrawTarget::Kind::Canvas ? failing_canvases : failing_images;
    return failing.count(target.number) == 0;
}

void HeadlessToolkit::set_clipboard(const std::string& text,
                                    std::span<const uint8_t> private_data) {
    clipboard_text = text;
    clipboard_private.assign(private_data.begin(), private_data.end());
}

bool HeadlessToolkit::read_clipboard(std::string& text, std::vector<uint8_t>& private_data) {
    text = clipboard_text;
    private_data = clipboard_private;
    return !text.empty() || !private_data.empty();
}

} // namespace fontarel
