#pragma once
// The toolkit on Qt Widgets: top-level windows with a fixed inner size, a menu bar, popup menus,
// window shortcuts, labels, sliders, check boxes, buttons, text fields, canvases that keep their
// picture, file drops, and the colour, file and message requesters. Qt's activity becomes Event
// values on the shared queue. A QApplication must exist before the toolkit is made.

#include <QAction>
#include <QMargins>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QShortcut>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/toolkit.h"

class QDialog;

class QWidget;

namespace fontarel {

class CanvasWidget;
class EscapeTracker;
class ToolkitWindow;

class QtToolkit : public Toolkit {
  public:
    explicit QtToolkit(std::vector<std::string> arguments = {});
    ~QtToolkit() override;

    // ---- Process and windows
    void close() override;
    int open_window(int number, int x, int y, int width, int height, const std::string& title,
                    int flags) override;
    int window_left(int number) override;
    int window_top(int number) override;
    void set_window_hidden(int number, int state) override;
    void resize_window(int number, int x, int y, int width, int height) override;
    void set_window_title(int number, const std::string& title) override;
    void message_box(const std::string& caption, const std::string& text) override;
    bool escape_down() override;
    void wake_after(int ms) override;

    // ---- Menus and shortcuts
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

    // ---- Controls
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

    // ---- Requesters
    int choose_colour() override;
    int choose_palette_entry(const std::string& title, std::span<const Colour> colours,
                             int current, PaletteCheck* check) override;
    bool ask_yes_no(const std::string& caption, const std::string& text) override;
    std::string ask_text(const std::string& title, const std::string& label,
                         const std::string& initial) override;
    int choose_from_list(const std::string& title, const std::string& label,
                         const std::vector<std::string>& rows) override;
    std::string choose_open_file(const std::string& title, const std::string& start,
                                 const std::string& patterns, int pattern_index) override;
    std::string choose_save_file(const std::string& title, const std::string& start,
                                 const std::string& patterns, int pattern_index) override;
    bool decode_picture(std::span<const uint8_t> bytes, Picture& out) override;

    // ---- Clipboard
    // The type of the program's private form beside the plain text.
    static constexpr const char* kPrivateClipboardType = "application/x-fontarel-map-block";
    void set_clipboard(const std::string& text, std::span<const uint8_t> private_data) override;
    bool read_clipboard(std::string& text, std::vector<uint8_t>& private_data) override;

    // ---- The Qt objects behind the numbers, for tests; null when the number names nothing.
    QWidget* window_widget(int window) const;
    QWidget* control_widget(int control) const;
    QMenuBar* menu_bar_widget(int menu) const;
    QMenu* popup_menu_widget(int menu) const;
    QAction* menu_action(int menu, int id) const;

  protected:
    void pump() override;
    void canvas_updated(int control, PixelRect changed) override;
    std::vector<uint8_t> encode_png(const Raster& raster) override;

  private:
    enum class ControlKind { Canvas, Label, TrackBar, CheckBox, Button, TextField };
    struct ControlRecord {
        ControlKind kind;
        QPointer<QWidget> widget;
        int window;
    };
    struct MenuRecord {
        QPointer<QMenuBar> bar;                 // a menu bar, or
        std::unique_ptr<QMenu> popup;           // a popup menu, owned here
        int window = -1;                        // window of a menu bar
        std::map<int, QPointer<QAction>> items; // by item id, submenus included
    };

    ToolkitWindow* find_window(int number) const;
    const ControlRecord* find_control(int control) const;
    CanvasWidget* find_canvas(int control) const;
    // The window that new controls go to; null when none is open.
    ToolkitWindow* control_parent() const;
    // Registers a new control widget under its number, replacing an older one.
    void add_control(int control, ControlKind kind, QWidget* widget, int x, int y, int width,
                     int height);
    void remove_window(int number);
    // The frame's widths around `window`'s inner area: its own once the window system has framed
    // it, else those of another framed window of the program, else none.
    QMargins frame_margins(const ToolkitWindow& window) const;
    // Asks `window` for the inner size `width` x `height` within the free area of its screen.
    void fit_window(ToolkitWindow& window, int width, int height);
    // Moves a window that scrolls, having been cut to the screen, just far enough to lie inside
    // the screen's free area; a window that fits stays where it was put.
    void keep_on_screen(ToolkitWindow& window);
    // Parent for modal requesters: the active window of the program, else the main window.
    QWidget* requester_parent() const;
    // Runs a modal dialog; afterwards Escape counts as released.
    int run_modal(QDialog& dialog);
    std::string choose_file(bool save, const std::string& title, const std::string& start,
                            const std::string& patterns, int pattern_index);

    std::map<int, std::unique_ptr<ToolkitWindow>> windows_;
    std::map<int, ControlRecord> controls_;
    std::map<int, MenuRecord> menus_;
    std::map<std::pair<int, int>, QPointer<QShortcut>> shortcuts_; // (window, combination)
    int current_window_ = -1;        // window that new controls belong to
    int building_menu_ = -1;         // menu under construction
    int popup_window_ = -1;          // window given to the popup menu being shown
    std::vector<QMenu*> menu_stack_; // the level that new items go to is the back
    std::unique_ptr<EscapeTracker> escape_;
};

} // namespace fontarel
