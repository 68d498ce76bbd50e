#pragma once
// The toolkit contract held entirely in memory, so that the whole program runs in tests: events are
// injected into the queue, requesters, the colour chooser and popup menus answer from scripts,
// message boxes are recorded, and every window title, control text and state, menu entry and canvas
// or image pixel can be read back.

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/toolkit.h"

namespace fontarel {

class HeadlessToolkit : public Toolkit {
  public:
    // `working_dir` is returned by working_directory() ('/' is added when missing); empty = the
    // process's.
    explicit HeadlessToolkit(std::vector<std::string> arguments = {}, std::string working_dir = {});
    ~HeadlessToolkit() override;

    // ---- Toolkit
    std::string working_directory() override;
    void close() override;
    int open_window(int number, int x, int y, int width, int height, const std::string& title,
                    int flags) override;
    int window_left(int number) override;
    int window_top(int number) override;
    void set_window_hidden(int number, int state) override;
    void resize_window(int number, int x, int y, int width, int height) override;
    void set_window_title(int number, const std::string& title) override;
    void message_box(const std::string& caption, const std::string& text) override;
    bool escape_down() override { return escape_down_; }
    int create_menu_bar(int menu, int window) override;
    int create_popup_menu(int menu) override;
    void menu_title(const std::string& text) override;
    void menu_item(int id, const std::string& text) override;
    void menu_separator() override;
    void open_submenu(const std::string& text) override;
    void close_submenu() override;
    void set_item_checked(int menu, int id, int state) override;
    int item_checked(int menu, int id) override;
    void set_item_enabled(int menu, int id, int state) override;
    int menu_exists(int menu) override;
    void show_popup_menu(int menu, int window) override;
    void add_shortcut(int window, int combination, int id) override;
    int create_canvas(int control, int x, int y, int width, int height, int flags) override;
    int create_label(int control, int x, int y, int width, int height, const std::string& text,
                     int flags) override;
    int create_track_bar(int control, int x, int y, int width, int height, int minimum, int maximum,
                         int flags) override;
    int create_check_box(int control, int x, int y, int width, int height,
                         const std::string& text) override;
    int create_button(int control, int x, int y, int width, int height,
                      const std::string& text) override;
    int create_text_field(int control, int x, int y, int width, int height, const std::string& text,
                          int flags) override;
    void set_tooltip(int control, const std::string& text) override;
    void show_control(int control, bool shown) override;
    void focus_control(int control) override;
    int control_state(int control) override;
    void set_track_bar_range(int control, int minimum, int maximum, int page) override;
    void set_control_state(int control, int value) override;
    void set_control_text(int control, const std::string& text) override;
    void resize_control(int control, int x, int y, int width, int height) override;
    int control_width(int control) override;
    int control_height(int control) override;
    void enable_file_drop(int control) override;
    Raster* canvas_picture(int control) override;
    int choose_colour() override;
    int choose_palette_entry(const std::string& title, std::span<const Colour> colours,
                             int current, PaletteCheck* check) override;
    std::string ask_text(const std::string& title, const std::string& label,
                         const std::string& initial) override;
    bool ask_yes_no(const std::string& caption, const std::string& text) override;
    int choose_from_list(const std::string& title, const std::string& label,
                         const std::vector<std::string>& rows) override;
    std::string choose_open_file(const std::string& title, const std::string& start,
                                 const std::string& patterns, int pattern_index) override;
    std::string choose_save_file(const std::string& title, const std::string& start,
                                 const std::string& patterns, int pattern_index) override;
    void set_clipboard(const std::string& text, std::span<const uint8_t> private_data) override;
    bool read_clipboard(std::string& text, std::vector<uint8_t>& private_data) override;

    // ---- What tests read
    enum class ControlKind { Canvas, Label, TrackBar, CheckBox, Button, TextField };
    struct Control {
        ControlKind kind{};
        int window = 0; // the window open_window last opened when the control was created
        int x = 0, y = 0, width = 0, height = 0; // outer geometry as given
        int flags = 0;
        int minimum = 0, maximum = 0; // track bar
        int page = 0;                 // track bar
        int state = 0;                // track bar position or check box state
        std::string text;
        std::string tooltip;
        bool drop_enabled = false;
        bool shown = true;
        Raster picture; // canvas: the drawing surface (4 pixels smaller with kCanvasBorder)
    };
    struct Window {
        int x = 0, y = 0, width = 0, height = 0; // position of the outer frame, inner size
        std::string title;
        int flags = 0;
        bool visible = false;
    };
    // One entry of a menu in the order it was built. Submenu entries are followed by the entries
    // inside them and closed by a SubmenuEnd entry.
    struct MenuEntry {
        enum class Kind { Title, Item, Separator, Submenu, SubmenuEnd };
        Kind kind{};
        int id = -1;
        std::string text;
        bool checked = false;
        bool enabled = true;
    };
    struct Message {
        std::string caption;
        std::string text;
    };
    struct FileRequest {
        bool save = false;
        std::string title, start, patterns;
        int pattern_index = 0;
    };

    const Control* control(int number) const;
    const Window* window(int number) const;
    const std::vector<MenuEntry>* menu(int number) const;
    // 1 when the item can be chosen, 0 when greyed out or not in the menu.
    int item_enabled(int menu, int id) const;
    // Item id for a key combination on a window, if a shortcut was added.
    std::optional<int> shortcut(int window, int combination) const;
    const std::vector<Message>& messages() const { return messages_; }
    const std::vector<FileRequest>& file_requests() const { return file_requests_; }
    // Menu numbers of the popups shown, in order.
    const std::vector<int>& popups_shown() const { return popups_shown_; }
    int focused_control() const { return focused_; }
    int active_window() const { return active_window_; }
    int colour_requests() const { return colour_requests_; }
    bool closed() const { return closed_; }

    // ---- Scripts and injection
    // Answers of the requesters, taken in order; an empty script answers "cancel" (-1 / empty
    // text).
    std::deque<int> colour_answers;
    // Index chosen in each palette chooser, in order; "title|colours|current" of each is logged,
    // with "|label=0" or "=1" for a check box. A chooser with a check box that answers sets it
    // from the next of palette_check_answers, if any.
    std::deque<int> palette_answers;
    std::deque<bool> palette_check_answers;
    std::vector<std::string> palette_requests;
    // Each answer is a path and the pattern entry selected when it was confirmed.
    std::deque<std::pair<std::string, int>> file_answers;
    // Text confirmed in each text requester, in order (title, label and initial text are logged in
    // text_requests).
    std::deque<std::string> text_answers;
    std::vector<std::string> text_requests; // "title|label|initial" of each text requester
    // Answer of each yes/no question, in order (an empty script answers No); "caption|text" of
    // each is logged in questions.
    std::deque<bool> yes_no_answers;
    std::vector<std::string> questions;
    // Row chosen in each list requester, in order; "title|label|row|row..." of each is logged.
    std::deque<int> list_answers;
    std::vector<std::string> list_requests;
    // Item chosen in each popup shown, in order; -1 or an empty script closes it without a choice.
    std::deque<int> popup_answers;
    // The clipboard: its plain text and the program's private form, each empty when absent. Tests
    // may set them as another program would, or read what the program put there.
    std::string clipboard_text;
    std::vector<uint8_t> clipboard_private;
    // Called when wait_event finds the queue empty. It may inject further events. When the queue is
    // still empty afterwards, the main window's close box (window 0) is reported, so a program run
    // always ends.
    std::function<void()> on_idle;
    // The program's own state between runs: this folder (ending in '/'), or none when empty, so
    // that no test writes outside its sandbox unless it asks to.
    std::string state_folder_path;
    // The clock the program reads, in milliseconds; tests move it on themselves.
    int64_t clock_ms = 0;
    // The wake-ups the program asked for (wake_after), in milliseconds, in order.
    std::vector<int> wake_requests;
    std::string state_folder() const override { return state_folder_path; }
    int64_t milliseconds() const override { return clock_ms; }
    void wake_after(int ms) override { wake_requests.push_back(ms); }

    void set_escape_down(bool down) { escape_down_ = down; }
    void set_active_window(int window) { active_window_ = window; }
    void inject_menu(int id, int window = 0);
    // A key combination pressed while `active_window()` is active: a kEventMenu event when a
    // shortcut of that window matches, nothing otherwise.
    void inject_combination(int combination);
    void inject_close(int window);
    void inject_drop(int control, const std::string& paths);
    // Any event of a non-canvas control (button click, slider move, ...). A track bar or check box
    // takes `state` first when given, as the user's action would.
    void inject_control(int control, std::optional<int> state = std::nullopt);
    // One canvas event with its data; `key` is the character of a kKindChar event.
    void inject_canvas(int control, int kind, int x = 0, int y = 0, int buttons = 0, int key = 0,
                       int modifiers = 0, int wheel = 0);
    // A whole click: left (or right) down, up and click at (x, y), as the platform reports them.
    void inject_click(int control, int x, int y, bool right = false);
    // A key press and release on a canvas: kKindKeyDown then kKindKeyUp.
    void inject_key(int control, int key);

    // ---- Simulated failures
    std::set<int> failing_windows;  // open_window fails for these numbers
    std::set<int> failing_menus;    // create_menu_bar / create_popup_menu fail
    std::set<int> failing_canvases; // begin_drawing fails on these canvases
    std::set<int> failing_images;   // begin_drawing fails on these images
    // A full disk: whole-file writes (saves, the BMP writer) fail after this many bytes; -1 never.
    int64_t disk_space = -1;

  protected:
    void pump() override;
    void canvas_updated(int control, PixelRect changed) override;
    bool drawing_allowed(const DrawTarget& target) override;
    int64_t write_limit() const override { return disk_space; }

  private:
    Control* find(int number, std::optional<ControlKind> kind = std::nullopt);
    int window_of(int control) const;
    // A fresh control of the window opened last, replacing one of that number; null when no window
    // is open or the size is negative.
    Control* add_control(int number, ControlKind kind, int x, int y, int width, int height);
    // Records the request and takes the next scripted answer.
    std::string answer_file_request(FileRequest request);
    // The menu under construction, or null when there is none.
    std::vector<MenuEntry>* building();

    std::string working_dir_;
    std::map<int, Window> windows_;
    std::map<int, Control> controls_;
    std::map<int, std::vector<MenuEntry>> menus_;
    std::map<int, int> menu_windows_; // menu bar -> window
    std::map<std::pair<int, int>, int> shortcuts_;
    std::vector<Message> messages_;
    std::vector<FileRequest> file_requests_;
    std::vector<int> popups_shown_;
    int building_menu_ = -1;  // menu under construction
    int submenu_depth_ = 0;   // submenus open in the menu under construction
    int current_window_ = -1; // window that new controls belong to
    int focused_ = -1;
    int active_window_ = 0;
    int colour_requests_ = 0;
    bool escape_down_ = false;
    bool closed_ = false;
};

} // namespace fontarel
