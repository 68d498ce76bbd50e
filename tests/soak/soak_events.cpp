#include "soak_events.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/app.h"
#include "app/event_loop.h"
#include "app/ids.h"
#include "app/start_up.h"
#include "model/labels.h"
#include "toolkit/headless/headless_toolkit.h"

namespace fontarel::soak {

namespace fs = std::filesystem;

uint64_t ByteSource::next(uint64_t n) {
    if (n <= 1)
        return 0;
    // As many bytes as the bound needs, so that small choices cost one byte of input.
    uint64_t value = 0;
    for (uint64_t span = n - 1; span > 0 && at_ < size_; span >>= 8)
        value = value << 8 | data_[at_++];
    return value % n;
}

uint64_t RecordingSource::next(uint64_t n) {
    const uint64_t value = from_.next(n);
    if (n <= 1)
        return value;
    int count = 0;
    for (uint64_t span = n - 1; span > 0; span >>= 8)
        ++count;
    for (int i = count - 1; i >= 0; --i) // most significant first, as ByteSource reads them
        bytes_.push_back(static_cast<uint8_t>(value >> (8 * i)));
    return value;
}

namespace {

constexpr int kCanvases[] = {kCharsetCanvas, kGlyphCanvas, kMapCanvas, kLevelCanvas,
                             kTilesCanvas};
// Answers of the text requester: level sizes, load addresses, nonsense.
const char* const kTexts[] = {"4x4, 64x32", "1x1, 3x2",  "8x8, 300x2", "2x3, 1000x1000",
                              "$c000",      "4x4, 0x1",  "x",          ""};
constexpr int kKinds[] = {
    kKindLeftClick,  kKindRightClick, kKindLeftDoubleClick, kKindRightDoubleClick,
    kKindMouseEnter, kKindMouseLeave, kKindMouseMove,       kKindLeftDown,
    kKindLeftUp,     kKindRightDown,  kKindRightUp,         kKindMiddleDown,
    kKindMiddleUp,   kKindWheel,      kKindKeyDown,         kKindKeyUp,
    kKindChar,       kKindFocusIn,    kKindFocusOut};
constexpr int kKeys[] = {kKeyLeft,   kKeyUp,     kKeyRight, kKeyDown, kKeyInsert,
                         kKeyDelete, kKeyEscape, kKeyI,     kKeyO,    35,
                         36,         33,         34,        13,       32,
                         8,          'T',        'A'};
constexpr int kCombinations[] = {kComboInvert, kComboOpen, 0x2005A, 0x3005A, 0x20059, 0x20041};
const char* const kSaveNames[] = {"out",    "out.fnt", "OUT.FNT",       "out.txt", "a.b",
                                  ".FNT",   "x.map",   "pic.BMP",       "pic.png", "nodir/x.fnt",
                                  "folder", "fifo",    "with space.fnt"};

int coordinate(Source& source) {
    switch (source.next(4)) {
    case 0:
        return source.between(-100000, 100000);
    case 1:
        return source.between(-20, 20);
    default:
        return source.between(0, 1300);
    }
}

template <typename T, size_t N> T pick(Source& source, const T (&items)[N]) {
    return items[source.next(N)];
}

int canvas(Source& source) {
    return source.chance(90) ? pick(source, kCanvases) : source.between(-2, 20);
}

} // namespace

Action next_action(Source& source, const Sandbox& sandbox) {
    Action action;
    const auto& inputs = sandbox.inputs();
    auto any_input = [&] { return inputs[source.next(inputs.size())]; };
    const int roll = static_cast<int>(source.next(100));
    using K = Action::Kind;
    if (roll < 20) {
        action.kind = K::Menu;
        action.a = source.between(-5, kMenuIdCount + 2);
        if (action.a == id(MenuId::Quit) && source.chance(90))
            action.a = id(MenuId::Open); // ending the program is rare, so sessions grow long
    } else if (roll < 50) {
        action.kind = K::Canvas;
        action.a = canvas(source);
        action.b = source.chance(95) ? pick(source, kKinds) : source.between(-3, 70000);
        action.c = coordinate(source);
        action.d = coordinate(source);
        action.e = source.between(0, 7);
    } else if (roll < 62) {
        action.kind = K::Click;
        action.a = canvas(source);
        action.b = source.between(0, 1);
        action.c = coordinate(source);
        action.d = coordinate(source);
    } else if (roll < 70) {
        action.kind = K::Key;
        action.a = canvas(source);
        action.b = source.chance(85) ? pick(source, kKeys) : source.between(0, 300);
    } else if (roll < 78) {
        action.kind = K::Control;
        action.a = source.between(-2, 20);
        action.b = source.chance(30) ? -1 : source.between(-10, 300);
    } else if (roll < 84) {
        action.kind = K::Drop;
        action.a = source.between(-1, 3);
        const int lines = source.chance(80) ? 1 : source.between(2, 3);
        for (int i = 0; i < lines; ++i)
            action.text += (i ? "\n" : "") + any_input();
    } else if (roll < 87) {
        action.kind = K::Close;
        action.a = source.chance(90) ? kMapWindow : source.between(-1, 4);
    } else if (roll < 92) {
        action.kind = K::Combination;
        action.a = source.chance(90) ? pick(source, kCombinations) : source.between(0, 0x40000);
        action.b = source.between(0, 1); // active window
    } else if (roll < 96) {
        if (source.chance(95)) {
            action.kind = K::Code;
            action.a = source.between(12990, 13200);
            action.b = source.between(-2, 60);
        } else {
            action.kind = K::Escape;
        }
    } else {
        action.kind = K::Failures;
        const bool none = source.chance(60); // most of these end the failures again
        action.a = none || source.chance(50) ? -1 : source.between(0, 3000); // disk space
        action.b = none ? 0 : source.between(0, 7);                          // failing canvases 0-2
        action.c = none ? 0 : source.between(0, 1); // failing charset image
    }
    // What the requesters will answer, if one opens.
    for (int i = static_cast<int>(source.next(3)); i > 0; --i) {
        std::string path;
        switch (source.next(4)) {
        case 0:
            path = "";
            break;
        case 1:
            path = any_input();
            break;
        default:
            path = std::string(kInWork) + kSaveNames[source.next(std::size(kSaveNames))];
        }
        action.files.emplace_back(path, source.between(-1, 3));
    }
    for (int i = static_cast<int>(source.next(2)); i > 0; --i)
        action.colours.push_back(source.chance(30) ? -1 : source.between(0, 0xFFFFFF));
    for (int i = static_cast<int>(source.next(2)); i > 0; --i)
        action.popups.push_back(source.chance(20) ? -1 : source.between(38, 50));
    for (int i = static_cast<int>(source.next(2)); i > 0; --i)
        action.texts.push_back(pick(source, kTexts));
    return action;
}

std::string describe(const Action& x) {
    std::ostringstream out;
    using K = Action::Kind;
    switch (x.kind) {
    case K::Menu:
        out << "menu " << x.a;
        break;
    case K::Canvas:
        out << "canvas " << x.a << " kind " << x.b << " at (" << x.c << "," << x.d << ") buttons "
            << x.e;
        break;
    case K::Click:
        out << (x.b ? "right" : "left") << " click on " << x.a << " at (" << x.c << "," << x.d
            << ")";
        break;
    case K::Key:
        out << "key " << x.b << " on " << x.a;
        break;
    case K::Control:
        out << "control " << x.a << " state " << x.b;
        break;
    case K::Drop: {
        std::string shown = x.text;
        std::replace(shown.begin(), shown.end(), '\n', '|');
        out << "drop on " << x.a << ": " << shown;
        break;
    }
    case K::Close:
        out << "close box of window " << x.a;
        break;
    case K::Combination:
        out << "keys 0x" << std::hex << x.a << std::dec << " in window " << x.b;
        break;
    case K::Code:
        out << "event code " << x.a << " source " << x.b;
        break;
    case K::Escape:
        out << "Escape held";
        break;
    case K::Failures:
        out << "failures: disk " << x.a << " canvases " << x.b << " image " << x.c;
        break;
    }
    for (const auto& [path, entry] : x.files)
        out << " [file '" << path << "' entry " << entry << "]";
    for (int c : x.colours)
        out << " [colour " << c << "]";
    for (int p : x.popups)
        out << " [popup " << p << "]";
    for (const std::string& t : x.texts)
        out << " [text '" << t << "']";
    return out.str();
}

// ---- Sandbox

namespace {

void write_random(const std::string& path, size_t bytes, unsigned seed) {
    std::mt19937 random(seed);
    std::ofstream out(path, std::ios::binary);
    for (size_t i = 0; i < bytes; ++i)
        out.put(static_cast<char>(random()));
}

} // namespace

Sandbox::Sandbox() {
    std::string pattern = (fs::temp_directory_path() / "fontarel-soak-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        std::abort();
    root_ = pattern;
    work_ = root_ + "/work";
    fs::create_directories(work_ + "/folder");
    const std::pair<const char*, size_t> files[] = {
        {"empty.fnt", 0},       {"three.fnt", 3},
        {"zx.fnt", 768},        {"ibm.fnt", 2048},
        {"long.fnt", 5000},     {"map960.map", 960},
        {"map961.map", 961},    {"with space.fnt", 800},
        {"quote'\"x.fnt", 100}, {"\xC3\xBCn\xC3\xAF.fnt", 64},
        {"line\nfeed.fnt", 16}};
    unsigned seed = 1;
    for (const auto& [name, bytes] : files) {
        write_random(work_ + "/" + name, bytes, seed++);
        inputs_.push_back(std::string(kInWork) + name);
    }
    fs::create_directory_symlink(work_ + "/folder", work_ + "/link");
    mkfifo((work_ + "/fifo").c_str(), 0600);
    { std::ofstream sparse(work_ + "/sparse.bin", std::ios::binary); }
    fs::resize_file(work_ + "/sparse.bin", uint64_t{64} << 20);
    for (const char* name : {"folder", "link", "fifo", "sparse.bin", "missing.fnt", ""})
        inputs_.push_back(*name ? std::string(kInWork) + name : std::string{});
    inputs_.push_back("   ");
    inputs_.push_back("/nonexistent-folder/x.fnt");
    // A relative path in an answer (blanks, say) names a file in the process's folder: make that
    // the work folder, so no answer reaches outside the sandbox.
    std::error_code ec;
    previous_folder_ = fs::current_path(ec).string();
    fs::current_path(work_, ec);
}

Sandbox::~Sandbox() {
    std::error_code ec;
    if (!previous_folder_.empty())
        fs::current_path(previous_folder_, ec);
    fs::remove_all(root_, ec);
}

std::string Sandbox::written_outside() const {
    std::string found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(root_, ec))
        if (entry.path().filename() != "work")
            found += entry.path().string() + " ";
    return found;
}

// ---- Session

struct Session::Impl {
    const Sandbox& sandbox;
    HeadlessToolkit tk;
    App app{tk};
    CharsetStore start_charset;
    CharMap start_map;
    TileSet start_tiles;
    Level start_level;
    bool running = false;
    long events = 0, undone = 0;

    explicit Impl(const Sandbox& box) : sandbox(box), tk({}, box.work()) {
        running = open_program(app);
        if (running) {
            start_charset = *app.s.charset;
            start_map = *app.s.map;
            start_tiles = app.s.levels.tiles();
            start_level = app.s.levels.level();
        }
    }

    // Handles what is queued as the loop would; false once the program ends.
    bool handle_queue() {
        while (tk.pending_events() > 0) {
            const int code = tk.wait_event();
            ++events;
            if (tk.escape_down() || !dispatch_event(app, code))
                return false;
        }
        return true;
    }
};

Session::Session(const Sandbox& sandbox) : impl_(std::make_unique<Impl>(sandbox)) {}

Session::~Session() {
    if (impl_->app.s.charset)
        shut_down(impl_->app);
}

std::string Sandbox::resolve(std::string text) const {
    // At the start of the text and after each line feed of a drop list.
    for (size_t at = 0; (at = text.find(kInWork, at)) != std::string::npos;) {
        if (at == 0 || text[at - 1] == '\n') {
            text.replace(at, std::char_traits<char>::length(kInWork), work_ + "/");
            at += work_.size() + 1;
        } else {
            at += 1;
        }
    }
    return text;
}

bool Session::apply(const Action& action) {
    Impl& m = *impl_;
    Action x = action;
    x.text = m.sandbox.resolve(x.text);
    for (auto& f : x.files)
        f.first = m.sandbox.resolve(f.first);
    if (!m.running)
        return false;
    HeadlessToolkit& tk = m.tk;
    tk.file_answers.assign(x.files.begin(), x.files.end());
    tk.colour_answers.assign(x.colours.begin(), x.colours.end());
    tk.palette_answers.clear(); // the same answers as palette indices, a few out of range
    tk.palette_check_answers.clear(); // and their lowest bits as the check box
    for (const int c : x.colours) {
        tk.palette_answers.push_back(c < 0 ? -1 : c % 20 - 2);
        tk.palette_check_answers.push_back(c & 1);
    }
    tk.popup_answers.assign(x.popups.begin(), x.popups.end());
    tk.text_answers.assign(x.texts.begin(), x.texts.end());
    using K = Action::Kind;
    switch (x.kind) {
    case K::Menu:
        tk.inject_menu(x.a);
        break;
    case K::Canvas:
        tk.inject_canvas(x.a, x.b, x.c, x.d, x.e);
        break;
    case K::Click:
        tk.inject_click(x.a, x.c, x.d, x.b != 0);
        break;
    case K::Key:
        tk.inject_key(x.a, x.b);
        if (x.b >= 32 && x.b < 127)
            tk.inject_canvas(x.a, kKindChar, 0, 0, 0, x.b); // the character the key types
        break;
    case K::Control:
        if (x.b < 0)
            tk.inject_control(x.a);
        else
            tk.inject_control(x.a, x.b);
        break;
    case K::Drop:
        tk.inject_drop(x.a, x.text);
        break;
    case K::Close:
        tk.inject_close(x.a);
        break;
    case K::Combination:
        tk.set_active_window(x.b);
        tk.inject_combination(x.a);
        break;
    case K::Code: {
        Event e;
        e.code = x.a;
        e.source = x.b;
        tk.post_event(e);
        break;
    }
    case K::Escape:
        tk.set_escape_down(true);
        tk.inject_menu(-1);
        break;
    case K::Failures:
        tk.disk_space = x.a;
        tk.failing_canvases.clear();
        for (int c : kCanvases)
            if (x.b & (1 << c))
                tk.failing_canvases.insert(c);
        tk.failing_images.clear();
        if (x.c)
            tk.failing_images.insert(kCharsetImage);
        break;
    }
    m.running = m.handle_queue();
    tk.set_escape_down(false);
    return m.running;
}

std::string Session::check() const {
    const App& app = impl_->app;
    const AppState& s = app.s;
    std::ostringstream problem;
    if (!s.charset || !s.map)
        return "the store or the map is gone";
    if (s.current_column < 0 || s.current_column > 15 || s.current_row < 0 || s.current_row > 15 ||
        s.current_char != 16 * s.current_row + s.current_column)
        problem << "current_char " << int{s.current_char} << " is not 16 * " << s.current_row
                << " + " << s.current_column << "; ";
    const std::pair<int, int> sizes[] = {{32, 24}, {40, 24}, {40, 25}, {80, 50}, {64, 30}};
    if (std::find(std::begin(sizes), std::end(sizes),
                  std::pair<int, int>(s.map->cols, s.map->rows)) == std::end(sizes))
        problem << "map size " << s.map->cols << " x " << s.map->rows << "; ";
    for (int r = 0; r < kMapCapacityRows; ++r)
        for (int c = 0; c < kMapCapacityCols; ++c)
            if (s.map->at(c, r) < 0 || s.map->at(c, r) > 255) {
                problem << "cell (" << c << "," << r << ") holds " << s.map->at(c, r) << "; ";
                r = kMapCapacityRows;
                break;
            }
    const CellRect& sel = app.blocks.selection;
    if (!sel.empty() && !(s.map->in_use(sel.left, sel.top) &&
                          s.map->in_use(sel.left + sel.width - 1, sel.top + sel.height - 1)))
        problem << "the selection leaves the map; ";
    const MapTyping& typing = app.blocks.typing;
    if (typing.active && !s.map->in_use(typing.cursor.column, typing.cursor.row))
        problem << "the text cursor leaves the map; ";
    const HeadlessToolkit& tk = impl_->tk;
    auto label_matches = [&](int label, int bar, const char* prefix, const char* start_text) {
        const int position = tk.control(bar)->state;
        const std::string& text = tk.control(label)->text;
        return text == range_label_text(prefix, position) || (position == 0 && text == start_text);
    };
    if (!label_matches(kBeginRangeLabel, kBeginRangeBar, "BeginRange:", "Begin range:0") ||
        !label_matches(kEndRangeLabel, kEndRangeBar, "End range:", "End range:0"))
        problem << "range labels '" << tk.control(kBeginRangeLabel)->text << "', '"
                << tk.control(kEndRangeLabel)->text << "' for bars "
                << tk.control(kBeginRangeBar)->state << ", " << tk.control(kEndRangeBar)->state
                << "; ";
    return problem.str();
}

std::string Session::undo_to_start() {
    Impl& m = *impl_;
    if (!m.app.s.charset)
        return {};
    m.tk.failing_canvases.clear();
    m.tk.failing_images.clear();
    m.tk.set_escape_down(false);
    // Undo runs from the menu item as the user would choose it, also after the loop ended.
    for (int i = 0; i < 100000 && m.app.s.history.can_undo(); ++i) {
        m.tk.inject_menu(id(MenuId::Undo));
        ++m.undone;
        while (m.tk.pending_events() > 0)
            dispatch_event(m.app, m.tk.wait_event());
    }
    std::string problem;
    if (m.app.s.charset->bytes != m.start_charset.bytes)
        problem += "the charset differs from start-up after undoing every step; ";
    if (m.app.s.map->cells != m.start_map.cells || m.app.s.map->cols != m.start_map.cols ||
        m.app.s.map->rows != m.start_map.rows)
        problem += "the map differs from start-up after undoing every step; ";
    if (!(m.app.s.levels.tiles() == m.start_tiles) || !(m.app.s.levels.level() == m.start_level))
        problem += "the tiles or the level differ from start-up after undoing every step; ";
    return problem;
}

long Session::events() const {
    return impl_->events;
}
long Session::messages() const {
    return static_cast<long>(impl_->tk.messages().size());
}
long Session::undone() const {
    return impl_->undone;
}
long Session::file_requests() const {
    return static_cast<long>(impl_->tk.file_requests().size());
}

Failure run(const std::vector<Action>& actions, const Sandbox& sandbox, int session_length) {
    Failure totals;
    auto session = std::make_unique<Session>(sandbox);
    int in_session = 0;
    auto count = [&] {
        totals.events += session->events();
        totals.messages += session->messages();
        totals.undone += session->undone();
        totals.file_requests += session->file_requests();
        ++totals.sessions;
    };
    for (size_t i = 0; i < actions.size(); ++i) {
        const bool going = session->apply(actions[i]);
        if (std::string problem = session->check(); !problem.empty())
            return {static_cast<long>(i), problem};
        if (std::string outside = sandbox.written_outside(); !outside.empty())
            return {static_cast<long>(i), "written outside the sandbox: " + outside};
        if (!going || ++in_session >= session_length || i + 1 == actions.size()) {
            if (std::string problem = session->undo_to_start(); !problem.empty())
                return {static_cast<long>(i), problem};
            count();
            session = std::make_unique<Session>(sandbox);
            in_session = 0;
        }
    }
    return totals;
}

} // namespace fontarel::soak
