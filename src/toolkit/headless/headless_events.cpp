// The in-memory backend's menus and shortcuts, its scripted requesters, its pump and the helpers
// that inject the events the platform would make.

#include "toolkit/headless/headless_toolkit.h"

namespace fontarel {

// ---- Menus

std::vector<HeadlessToolkit::MenuEntry>* HeadlessToolkit::building() {
    const auto it = menus_.find(building_menu_);
    return it == menus_.end() ? nullptr : &it->second;
}

int HeadlessToolkit::create_menu_bar(int menu, int window) {
    building_menu_ = -1;
    submenu_depth_ = 0;
    if (failing_menus.count(menu) || !windows_.count(window))
        return 0;
    menus_[menu].clear();
    menu_windows_[menu] = window;
    building_menu_ = menu;
    return 1;
}

int HeadlessToolkit::create_popup_menu(int menu) {
    building_menu_ = -1;
    submenu_depth_ = 0;
    if (failing_menus.count(menu))
        return 0;
    menus_[menu].clear();
    menu_windows_.erase(menu);
    building_menu_ = menu;
    return 1;
}

void HeadlessToolkit::menu_title(const std::string& text) {
    std::vector<MenuEntry>* entries = building();
    if (!entries)
        return;
    // A title is always top-level: submenus still open end here.
    for (; submenu_depth_ > 0; --submenu_depth_)
        entries->push_back({MenuEntry::Kind::SubmenuEnd, -1, {}, false});
    entries->push_back({MenuEntry::Kind::Title, -1, text, false});
}

void HeadlessToolkit::menu_item(int id, const std::string& text) {
    if (std::vector<MenuEntry>* entries = building())
        entries->push_back({MenuEntry::Kind::Item, id, text, false});
}

void HeadlessToolkit::menu_separator() {
    if (std::vector<MenuEntry>* entries = building())
        entries->push_back({MenuEntry::Kind::Separator, -1, {}, false});
}

void HeadlessToolkit::open_submenu(const std::string& text) {
    std::vector<MenuEntry>* entries = building();
    if (!entries)
        return;
    entries->push_back({MenuEntry::Kind::Submenu, -1, text, false});
    ++submenu_depth_;
}

void HeadlessToolkit::close_submenu() {
    std::vector<MenuEntry>* entries = building();
    if (!entries || submenu_depth_ == 0)
        return;
    entries->push_back({MenuEntry::Kind::SubmenuEnd, -1, {}, false});
    --submenu_depth_;
}

void HeadlessToolkit::set_item_checked(int menu, int id, int state) {
    const auto it = menus_.find(menu);
    if (it == menus_.end())
        return;
    for (MenuEntry& e : it->second)
        if (e.kind == MenuEntry::Kind::Item && e.id == id)
            e.checked = state != 0;
}

int HeadlessToolkit::item_checked(int menu, int id) {
    const auto it = menus_.find(menu);
    if (it == menus_.end())
        return 0;
    for (const MenuEntry& e : it->second)
        if (e.kind == MenuEntry::Kind::Item && e.id == id)
            return e.checked ? 1 : 0;
    return 0;
}

void HeadlessToolkit::set_item_enabled(int menu, int id, int state) {
    const auto it = menus_.find(menu);
    if (it == menus_.end())
        return;
    for (MenuEntry& e : it->second)
        if (e.kind == MenuEntry::Kind::Item && e.id == id)
            e.enabled = state != 0;
}

int HeadlessToolkit::item_enabled(int menu, int id) const {
    const auto it = menus_.find(menu);
    if (it == menus_.end())
        return 0;
    for (const MenuEntry& e : it->second)
        if (e.kind == MenuEntry::Kind::Item && e.id == id)
            return e.enabled ? 1 : 0;
    return 0;
}

int HeadlessToolkit::menu_exists(int menu) {
    return menus_.count(menu) ? 1 : 0;
}

const std::vector<HeadlessToolkit::MenuEntry>* HeadlessToolkit::menu(int number) const {
    const auto it = menus_.find(number);
    return it == menus_.end() ? nullptr : &it->second;
}

// Modal like the platform's popup: the scripted choice is made before this returns, and arrives
// afterwards as a menu event.
void HeadlessToolkit::show_popup_menu(int menu, int window) {
    if (!menus_.count(menu) || menu_windows_.count(menu))
        return; // no popup of that number
    popups_shown_.push_back(menu);
    if (windows_.count(window))
        active_window_ = window;
    if (popup_answers.empty())
        return;
    const int id = popup_answers.front();
    popup_answers.pop_front();
    if (id >= 0)
        inject_menu(id, window);
}

void HeadlessToolkit::add_shortcut(int window, int combination, int id) {
    if (windows_.count(window))
        shortcuts_[{window, combination}] = id;
}

std::optional<int> HeadlessToolkit::shortcut(int window, int combination) const {
    const auto it = shortcuts_.find({window, combination});
    if (it == shortcuts_.end())
        return std::nullopt;
    return it->second;
}

// ---- Requesters

int HeadlessToolkit::choose_colour() {
    ++colour_requests_;
    if (colour_answers.empty())
        return -1;
    const int answer = colour_answers.front();
    colour_answers.pop_front();
    return answer;
}

int HeadlessToolkit::choose_palette_entry(const std::string& title, std::span<const Colour> colours,
                                          int current, PaletteCheck* check) {
    palette_requests.push_back(title + "|" + std::to_string(colours.size()) + "|" +
                               std::to_string(current) +
                               (check ? "|" + check->label + "=" + (check->on ? "1" : "0") : ""));
    if (palette_answers.empty())
        return -1;
    const int answer = palette_answers.front();
    palette_answers.pop_front();
    if (check && !palette_check_answers.empty()) {
        check->on = palette_check_answers.front();
        palette_check_answers.pop_front();
    }
    return answer;
}

std::string HeadlessToolkit::ask_text(const std::string& title, const std::string& label,
                                      const std::string& initial) {
    text_requests.push_back(title + "|" + label + "|" + initial);
    if (text_answers.empty())
        return {};
    std::string answer = std::move(text_answers.front());
    text_answers.pop_front();
    return answer;
}

bool HeadlessToolkit::ask_yes_no(const std::string& caption, const std::string& text) {
    questions.push_back(caption + "|" + text);
    if (yes_no_answers.empty())
        return false;
    const bool answer = yes_no_answers.front();
    yes_no_answers.pop_front();
    return answer;
}

int HeadlessToolkit::choose_from_list(const std::string& title, const std::string& label,
                                      const std::vector<std::string>& rows) {
    std::string logged = title + "|" + label;
    for (const std::string& row : rows)
        logged += "|" + row;
    list_requests.push_back(std::move(logged));
    if (list_answers.empty())
        return -1;
    const int answer = list_answers.front();
    list_answers.pop_front();
    return answer >= 0 && answer < static_cast<int>(rows.size()) ? answer : -1;
}

std::string HeadlessToolkit::answer_file_request(FileRequest request) {
    file_requests_.push_back(std::move(request));
    chosen_pattern_ = -1;
    if (file_answers.empty())
        return {};
    auto [path, pattern] = std::move(file_answers.front());
    file_answers.pop_front();
    // An empty path in the script is a cancel as well.
    if (!path.empty())
        chosen_pattern_ = pattern;
    return path;
}

std::string HeadlessToolkit::choose_open_file(const std::string& title, const std::string& start,
                                              const std::string& patterns, int pattern_index) {
    return answer_file_request({false, title, start, patterns, pattern_index});
}

std::string HeadlessToolkit::choose_save_file(const std::string& title, const std::string& start,
                                              const std::string& patterns, int pattern_index) {
    return answer_file_request({true, title, start, patterns, pattern_index});
}

// ---- The pump: there is no platform, only the test's script.

void HeadlessToolkit::pump() {
    if (on_idle)
        on_idle();
    // Nothing left to do: the user closes the main window, so a run always ends.
    if (pending_events() == 0)
        inject_close(0);
}

// ---- Injection

void HeadlessToolkit::inject_menu(int id, int window) {
    post_menu_event(id, window);
}

void HeadlessToolkit::inject_combination(int combination) {
    if (const std::optional<int> id = shortcut(active_window_, combination))
        inject_menu(*id, active_window_);
}

void HeadlessToolkit::inject_close(int window) {
    Event e;
    e.code = kEventClose;
    e.window = window;
    post_event(std::move(e));
}

// Only a control with drops enabled accepts files, as on the platform.
void HeadlessToolkit::inject_drop(int control, const std::string& paths) {
    const Control* c = this->control(control);
    if (!c || !c->drop_enabled)
        return;
    Event e;
    e.code = kEventDrop;
    e.source = control;
    e.window = c->window;
    e.dropped = paths;
    post_event(std::move(e));
}

void HeadlessToolkit::inject_control(int control, std::optional<int> state) {
    if (state)
        set_control_state(control, *state);
    Event e;
    e.code = kEventControl;
    e.source = control;
    e.window = window_of(control);
    post_event(std::move(e));
}

void HeadlessToolkit::inject_canvas(int control, int kind, int x, int y, int buttons, int key,
                                    int modifiers, int wheel) {
    Event e;
    e.code = kEventControl;
    e.source = control;
    e.window = window_of(control);
    e.kind = kind;
    e.x = x;
    e.y = y;
    e.buttons = buttons;
    e.modifiers = modifiers;
    e.wheel = wheel;
    (kind == kKindChar ? e.character : e.key) = key;
    post_event(std::move(e));
}

// The button is held during the press and no longer during the release and the click.
void HeadlessToolkit::inject_click(int control, int x, int y, bool right) {
    const Control* c = this->control(control);
    if (c && c->kind == ControlKind::Canvas && (c->flags & kCanvasFocusable))
        focused_ = control;
    inject_canvas(control, right ? kKindRightDown : kKindLeftDown, x, y,
                  right ? kButtonRight : kButtonLeft);
    inject_canvas(control, right ? kKindRightUp : kKindLeftUp, x, y);
    inject_canvas(control, right ? kKindRightClick : kKindLeftClick, x, y);
}

void HeadlessToolkit::inject_key(int control, int key) {
    inject_canvas(control, kKindKeyDown, 0, 0, 0, key);
    inject_canvas(control, kKindKeyUp, 0, 0, 0, key);
}

} // namespace fontarel
