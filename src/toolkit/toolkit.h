#pragma once
// The platform contract the program is written against: windows, the event queue, menus and
// shortcuts, controls and canvases, off-screen images and drawing, requesters, message boxes, files
// and the command line. Objects are named by small integers chosen by the program. Operations that
// name a result return 0 for failure and nonzero for success; an operation on a number that names
// no object of the right kind does nothing and returns 0.
//
// The platform-independent half lives here and is shared by both backends: the first-in first-out
// event queue with the current event and its canvas data, images and drawing on 24-bit rasters, the
// BMP writer and file access. A backend supplies windows, menus, controls, requesters and the pump
// that turns the platform's activity into queued events.

#include <cstdint>
#include <deque>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "toolkit/codes.h"
#include "toolkit/file_io.h"
#include "toolkit/raster.h"

namespace fontarel {

// One queued event. The canvas data (x .. character) is meaningful for kEventControl events of
// canvases.
struct Event {
    int code = kEventOther;
    int source = 0; // control number or menu item id
    int window = 0;
    int kind = 0; // canvas event kind
    int x = 0;    // surface pixels; may lie outside the surface while the canvas holds the mouse
    int y = 0;
    int buttons = 0;   // kButtonLeft | kButtonRight | kButtonMiddle held when the event was made
    int key = 0;       // virtual key code
    int modifiers = 0; // kModShift | kModAlt | kModCtrl
    int wheel = 0;
    int character = 0;
    std::string dropped; // kEventDrop: full paths joined by '\n', none after the last
};

// Where drawing goes between begin_drawing and end_drawing.
struct DrawTarget {
    enum class Kind { Canvas, Image };
    Kind kind = Kind::Image;
    int number = -1;
};

// A check box under a palette chooser's swatches, such as a pen's FLASH or blink bit.
struct PaletteCheck {
    std::string label;
    bool on = false;
};

class Toolkit {
  public:
    // `arguments` are the command-line parameters after the program's own name, already split and
    // unquoted.
    explicit Toolkit(std::vector<std::string> arguments = {});
    virtual ~Toolkit();
    Toolkit(const Toolkit&) = delete;
    Toolkit& operator=(const Toolkit&) = delete;

    // ---- Process
    int parameter_count() const { return static_cast<int>(arguments_.size()); }
    // The parameter at a 0-based index; empty text outside the list.
    std::string parameter(int index) const;
    // The working directory, always ending in '/'.
    virtual std::string working_directory();
    // Closes every window, control, menu, image and open file. Called once, at exit.
    virtual void close();

    // ---- Windows
    // Inner size width x height; the frame is added around it. Controls created afterwards belong
    // to this window until the next open_window. kWindowCentred ignores x and y.
    // A size that, with the frame, does not fit the free area of the screen is cut to the largest
    // that does, and the window scrolls its controls at 1:1 (scroll bars included in the size);
    // control coordinates, and those of canvas events, stay those of the full size. Such a window
    // is moved just far enough to lie on the screen. A size that fits is taken as it is, at the
    // place given.
    virtual int open_window(int number, int x, int y, int width, int height,
                            const std::string& title, int flags) = 0;
    // Left and top edge of the outer frame, in screen pixels.
    virtual int window_left(int number) = 0;
    virtual int window_top(int number) = 0;
    // 1 hides (the owner, if any, becomes active); 0 shows the window as it was and activates it.
    virtual void set_window_hidden(int number, int state) = 0;
    // Moves and sizes by the inner size; kKeep in any argument keeps that value (for the size, the
    // one last asked for). A size that does not fit the screen is cut as open_window cuts it.
    // Neither activates the window nor changes its stacking order.
    virtual void resize_window(int number, int x, int y, int width, int height) = 0;
    virtual void set_window_title(int number, const std::string& title) = 0;
    // Modal; shows the text with one OK button and returns after OK.
    virtual void message_box(const std::string& caption, const std::string& text) = 0;
    // Modal; shows the question with a Yes and a No button. True for Yes; No, the close box and
    // Escape in the requester answer false.
    virtual bool ask_yes_no(const std::string& caption, const std::string& text) = 0;

    // ---- Events
    // Takes the oldest queued event and makes it current. With an empty queue it waits for the
    // platform's next activity; when that makes no event it returns kEventOther.
    int wait_event();
    int event_source() const { return current_.source; }
    int event_window() const { return current_.window; }
    int event_kind() const { return current_.kind; }
    // True while the Escape key is physically held in one of the program's own windows. A press
    // that went to a requester, a message box, the colour chooser or a popup menu does not count.
    virtual bool escape_down() = 0;
    // Appends an event to the queue.
    void post_event(Event event) { queue_.push_back(std::move(event)); }
    // Appends the event of a menu item, popup item or shortcut chosen in `window`.
    void post_menu_event(int id, int window) {
        Event event;
        event.code = kEventMenu;
        event.source = id;
        event.window = window;
        post_event(std::move(event));
    }
    const Event& current_event() const { return current_; }
    // Events waiting in the queue (tests drain the queue without blocking).
    size_t pending_events() const { return queue_.size(); }

    // ---- Menus and shortcuts
    virtual int create_menu_bar(int menu, int window) = 0;
    virtual int create_popup_menu(int menu) = 0;
    virtual void menu_title(const std::string& text) = 0;
    // A tab in the text separates the label from the shortcut text shown right-aligned.
    virtual void menu_item(int id, const std::string& text) = 0;
    virtual void menu_separator() = 0;
    virtual void open_submenu(const std::string& text) = 0;
    virtual void close_submenu() = 0;
    // Items are found by id anywhere in the menu, submenus included.
    virtual void set_item_checked(int menu, int id, int state) = 0;
    virtual int item_checked(int menu, int id) = 0;
    // 0 greys the item out: it shows but cannot be chosen. Nonzero makes it choosable again.
    // Shortcuts to its id still make their events.
    virtual void set_item_enabled(int menu, int id, int state) = 0;
    virtual int menu_exists(int menu) = 0;
    // Opens the popup at the mouse pointer and returns when it closes; a chosen item arrives as a
    // kEventMenu event.
    virtual void show_popup_menu(int menu, int window) = 0;
    // While `window` is active, the key combination makes a kEventMenu event with the item id.
    virtual void add_shortcut(int window, int combination, int id) = 0;

    // ---- Controls (geometry in pixels of the owning window's inner area)
    virtual int create_canvas(int control, int x, int y, int width, int height, int flags) = 0;
    virtual int create_label(int control, int x, int y, int width, int height,
                             const std::string& text, int flags) = 0;
    virtual int create_track_bar(int control, int x, int y, int width, int height, int minimum,
                                 int maximum, int flags) = 0;
    virtual int create_check_box(int control, int x, int y, int width, int height,
                                 const std::string& text) = 0;
    virtual int create_button(int control, int x, int y, int width, int height,
                              const std::string& text) = 0;
    virtual int create_text_field(int control, int x, int y, int width, int height,
                                  const std::string& text, int flags) = 0;
    virtual void set_tooltip(int control, const std::string& text) = 0;
    // Shows or hides a control; a control starts shown. A hidden control takes no input and
    // leaves its place to what lies under it.
    virtual void show_control(int control, bool shown) = 0;
    virtual void focus_control(int control) = 0;
    // Track bar: its position; check box: 1 checked, 0 not.
    virtual int control_state(int control) = 0;
    // A track bar's range (minimum <= maximum) and page; the position is clamped into the new
    // range without making an event.
    virtual void set_track_bar_range(int control, int minimum, int maximum, int page) = 0;
    // Sets the position or the check without making an event.
    virtual void set_control_state(int control, int value) = 0;
    virtual void set_control_text(int control, const std::string& text) = 0;
    // A canvas keeps its picture at the top-left corner; new area is white.
    virtual void resize_control(int control, int x, int y, int width, int height) = 0;
    // Outer size in pixels.
    virtual int control_width(int control) = 0;
    virtual int control_height(int control) = 0;
    virtual void enable_file_drop(int control) = 0;
    // The data of the current event for that canvas; 0 for any other control or event.
    int control_attribute(int control, int attribute) const;
    // During a kEventDrop event: the paths joined by line feeds.
    std::string dropped_file_list() const { return current_.dropped; }

    // ---- Images and drawing
    // 24-bit, all black. Replaces an image of the same number.
    int create_image(int image, int width, int height);
    // The new image is a copy of that rectangle of the source.
    int grab_image(int source, int image, int x, int y, int width, int height);
    void free_image(int image);
    // Writes the image as a 24-bit BMP file, as write_whole_file does; nonzero when the whole file
    // was written. A failed write leaves no file behind and an existing file as it was.
    int save_image_bmp(int image, const std::string& path);
    // Writes the image as a PNG file, as write_whole_file does; nonzero when the whole file was
    // written. Fails, writing nothing, when the backend has no PNG encoder (see encode_png).
    int save_image_png(int image, const std::string& path);
    const Raster* image(int image) const;
    // The picture in the bytes of a picture file, recognised by its content; false, leaving `out`
    // as it was, when they hold no picture this backend reads. Every backend reads the BMP files
    // the program writes (decode_bmp); the Qt backend reads PNG, BMP and GIF through Qt's readers.
    virtual bool decode_picture(std::span<const uint8_t> bytes, Picture& out) {
        return decode_bmp(bytes, out);
    }

    DrawTarget canvas_target(int control) const { return {DrawTarget::Kind::Canvas, control}; }
    DrawTarget image_target(int image) const { return {DrawTarget::Kind::Image, image}; }
    // Nonzero on success; the mode is kDrawFilled afterwards. Drawing does not nest.
    int begin_drawing(DrawTarget target);
    void set_draw_mode(int mode) { draw_mode_ = mode; }
    // A rectangle in the current mode; negative sizes extend left or up; clipped to the target.
    void draw_box(int x, int y, int width, int height, int colour);
    // Copies the whole image with its top-left corner at (x, y), clipped to the target.
    void draw_image(int image, int x, int y);
    // Ends drawing; the part of a canvas that drawing changed is shown again before the program
    // next waits for input (wait_event flushes it), so every change is on screen by then.
    void end_drawing();
    // The picture being drawn on, between begin_drawing and end_drawing; null otherwise. Renderers
    // write its pixels directly.
    Raster* drawing_raster() { return drawing_; }
    // The picture a canvas keeps (its drawing surface), or null for a number that names no canvas.
    virtual Raster* canvas_picture(int control) = 0;

    // ---- Requesters (modal)
    // Opens with black; the chosen colour value, or -1 when cancelled.
    virtual int choose_colour() = 0;
    // One of a palette's colours (up to 128, eight a row), shown as numbered swatches with
    // `current` marked;
    // the chosen index, or -1 when cancelled. With `check`, a check box under the swatches shows
    // check->on as the chooser opens and sets it when a swatch is chosen (unchanged on cancel).
    virtual int choose_palette_entry(const std::string& title, std::span<const Colour> colours,
                                     int current, PaletteCheck* check) = 0;
    // A one-line text field titled `title`, `label` beside it, holding `initial`; the confirmed
    // text, or empty text when cancelled.
    virtual std::string ask_text(const std::string& title, const std::string& label,
                                 const std::string& initial) = 0;
    // A list of one-line rows titled `title`, with `label` above it and the first row selected;
    // the 0-based index of the row chosen, or -1 when cancelled (or when there are no rows).
    virtual int choose_from_list(const std::string& title, const std::string& label,
                                 const std::vector<std::string>& rows) = 0;
    // `patterns`: fields separated by '|', alternately a label and its pattern. `start` gives the
    // folder (its directory part) and the proposed name (the rest). Empty text when cancelled.
    virtual std::string choose_open_file(const std::string& title, const std::string& start,
                                         const std::string& patterns, int pattern_index) = 0;
    virtual std::string choose_save_file(const std::string& title, const std::string& start,
                                         const std::string& patterns, int pattern_index) = 0;
    // 0-based pattern entry selected when the last requester was confirmed; -1 after a cancel.
    int chosen_pattern() const { return chosen_pattern_; }

    // ---- Clipboard
    // Puts `text` on the system clipboard and, beside it, the program's private form of the same
    // data under its own type (left out when `private_data` is empty), replacing what was there.
    virtual void set_clipboard(const std::string& text, std::span<const uint8_t> private_data) = 0;
    // What the clipboard holds: its private form (may be empty) and its plain text (may be empty);
    // false when it holds neither.
    virtual bool read_clipboard(std::string& text, std::vector<uint8_t>& private_data) = 0;

    // ---- Files (numbers chosen by the caller)
    int64_t file_size(const std::string& path) const { return fontarel::file_size(path); }
    // At most `limit` bytes from the start of the file; false when it cannot be read.
    bool read_file_start(const std::string& path, int64_t limit, std::vector<uint8_t>& bytes) {
        return fontarel::read_file_start(path, limit, bytes);
    }
    int open_for_reading(int file, const std::string& path) {
        return files_.open_for_reading(file, path);
    }
    int create_for_writing(int file, const std::string& path) {
        return files_.create_for_writing(file, path);
    }
    int64_t read_bytes(int file, void* memory, int64_t count) {
        return files_.read_bytes(file, memory, count);
    }
    int read_byte(int file) { return files_.read_byte(file); }
    int at_end(int file) { return files_.at_end(file); }
    int64_t write_bytes(int file, const void* memory, int64_t count) {
        return files_.write_bytes(file, memory, count);
    }
    int write_byte(int file, int value) { return files_.write_byte(file, value); }
    int close_file(int file) { return files_.close_file(file); }
    int delete_file(const std::string& path) { return fontarel::delete_file(path); }
    // Makes the bytes the whole content of the file, replacing it only once they are all safely
    // written; on failure an existing file stays exactly as it was. Nonzero on success.
    // `sync` as write_whole_file takes it: a file that need only outlive the program, not the
    // machine, may skip the system's sync.
    int write_whole_file(const std::string& path, std::span<const uint8_t> bytes,
                         SyncStep sync = sync_to_disk) {
        return fontarel::write_whole_file(path, bytes, write_limit(), sync);
    }
    // The same for bytes made as they are written (see PieceSource).
    int write_whole_file_in_pieces(const std::string& path, const PieceSource& source,
                                   SyncStep sync = sync_to_disk) {
        return fontarel::write_whole_file_in_pieces(path, source, write_limit(), sync);
    }
    // The folder where the program keeps its state between runs (user_state_folder), ending in
    // '/'; empty when there is none to use.
    virtual std::string state_folder() const;
    // Bytes a whole-file write may put on the disk before it fails; -1 for no limit. Writers that
    // do not go through write_whole_file (an appended file) keep to it too.
    int64_t disk_limit() const { return write_limit(); }
    // Milliseconds of a steady clock, for the program's own timing; never the time of day.
    virtual int64_t milliseconds() const;
    // Makes wait_event return about `ms` milliseconds from now (never sooner), with kEventOther
    // when nothing else has come by then.
    virtual void wake_after(int ms) = 0;

  protected:
    // Waits for the platform's next activity and queues the events it makes (possibly none).
    virtual void pump() = 0;
    // Called by end_drawing after drawing on a canvas: show the new picture now.
    virtual void canvas_updated(int control, PixelRect changed) = 0;
    // Lets a backend refuse a drawing target (the in-memory backend uses it to simulate failures).
    virtual bool drawing_allowed(const DrawTarget&) { return true; }
    // Bytes a whole-file write may put on the disk before writing fails; -1 for no limit. The
    // in-memory backend uses it to simulate a full disk.
    virtual int64_t write_limit() const { return -1; }
    // The bytes of a PNG file of the raster, or nothing when the backend cannot encode one. PNG is
    // left to the platform's image writer; the in-memory backend has none.
    virtual std::vector<uint8_t> encode_png(const Raster&) { return {}; }

    int chosen_pattern_ = -1;

  private:
    std::vector<std::string> arguments_;
    std::deque<Event> queue_;
    Event current_;
    std::map<int, Raster> images_;
    Raster* drawing_ = nullptr;
    DrawTarget drawing_target_;
    int draw_mode_ = kDrawFilled;
    FileTable files_;
};

} // namespace fontarel
