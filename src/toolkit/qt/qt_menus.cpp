// Menu bars, popup menus, check marks and window shortcuts. Choosing an item anywhere, or pressing
// a shortcut, queues the same kEventMenu event with the item id.

#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

#include "toolkit/qt/escape_tracker.h"
#include "toolkit/qt/key_codes.h"
#include "toolkit/qt/qt_toolkit.h"
#include "toolkit/qt/toolkit_window.h"

namespace fontarel {

int QtToolkit::create_menu_bar(int menu, int window) {
    ToolkitWindow* owner = find_window(window);
    if (owner == nullptr)
        return 0;
    menus_.erase(menu);
    auto* bar = new QMenuBar(owner);
    // The bar belongs inside the window on every platform, where the controls are laid out.
    bar->setNativeMenuBar(false);
    owner->set_menu_bar(bar);
    MenuRecord& record = menus_[menu];
    record.bar = bar;
    record.window = window;
    building_menu_ = menu;
    menu_stack_.clear();
    return 1;
}

int QtToolkit::create_popup_menu(int menu) {
    menus_.erase(menu);
    MenuRecord& record = menus_[menu];
    record.popup = std::make_unique<QMenu>();
    building_menu_ = menu;
    menu_stack_ = {record.popup.get()};
    return 1;
}

void QtToolkit::menu_title(const std::string& text) {
    const auto it = menus_.find(building_menu_);
    if (it == menus_.end() || it->second.bar == nullptr)
        return;
    menu_stack_ = {it->second.bar->addMenu(QString::fromStdString(text))};
}

void QtToolkit::menu_item(int id, const std::string& text) {
    const auto it = menus_.find(building_menu_);
    if (it == menus_.end() || menu_stack_.empty())
        return;
    // QMenu shows the text after a tab in its shortcut column.
    QAction* action = menu_stack_.back()->addAction(QString::fromStdString(text));
    it->second.items[id] = action;
    const int menu = building_menu_;
    QObject::connect(action, &QAction::triggered, action, [this, action, menu, id] {
        // Check marks change only when the program sets them; undo Qt's own toggle.
        if (action->isCheckable()) {
            const QSignalBlocker blocker(action);
            action->setChecked(!action->isChecked());
        }
        const auto found = menus_.find(menu);
        if (found == menus_.end())
            return;
        post_menu_event(id, found->second.popup ? popup_window_ : found->second.window);
    });
}

void QtToolkit::menu_separator() {
    if (!menu_stack_.empty())
        menu_stack_.back()->addSeparator();
}

void QtToolkit::open_submenu(const std::string& text) {
    const auto it = menus_.find(building_menu_);
    if (it == menus_.end())
        return;
    const QString title = QString::fromStdString(text);
    if (!menu_stack_.empty())
        menu_stack_.push_back(menu_stack_.back()->addMenu(title));
    else if (it->second.bar != nullptr)
        menu_stack_.push_back(it->second.bar->addMenu(title));
}

void QtToolkit::close_submenu() {
    if (menu_stack_.size() > 1)
        menu_stack_.pop_back();
}

QAction* QtToolkit::menu_action(int menu, int id) const {
    const auto it = menus_.find(menu);
    if (it == menus_.end())
        return nullptr;
    const auto item = it->second.items.find(id);
    return item == it->second.items.end() ? nullptr : item->second.data();
}

void QtToolkit::set_item_checked(int menu, int id, int state) {
    QAction* action = menu_action(menu, id);
    if (action == nullptr)
        return;
    // An item becomes checkable the first time it is checked; before that it shows no mark room.
    if (state != 0)
        action->setCheckable(true);
    const QSignalBlocker blocker(action);
    action->setChecked(state != 0);
}

int QtToolkit::item_checked(int menu, int id) {
    const QAction* action = menu_action(menu, id);
    return action != nullptr && action->isChecked() ? 1 : 0;
}

void QtToolkit::set_item_enabled(int menu, int id, int state) {
    if (QAction* action = menu_action(menu, id))
        action->setEnabled(state != 0);
}

int QtToolkit::menu_exists(int menu) {
    return menus_.count(menu) != 0 ? 1 : 0;
}

QMenuBar* QtToolkit::menu_bar_widget(int menu) const {
    const auto it = menus_.find(menu);
    return it == menus_.end() ? nullptr : it->second.bar.data();
}

QMenu* QtToolkit::popup_menu_widget(int menu) const {
    const auto it = menus_.find(menu);
    return it == menus_.end() ? nullptr : it->second.popup.get();
}

void QtToolkit::show_popup_menu(int menu, int window) {
    QMenu* popup = popup_menu_widget(menu);
    if (popup == nullptr)
        return;
    if (ToolkitWindow* owner = find_window(window)) {
        owner->raise();
        owner->activateWindow();
    }
    popup_window_ = window;
    // Top-left corner one pixel up and left of the pointer; exec returns when the menu closes,
    // after a chosen item has queued its event.
    popup->exec(QCursor::pos() - QPoint(1, 1));
    escape_->reset();
}

void QtToolkit::add_shortcut(int window, int combination, int id) {
    ToolkitWindow* owner = find_window(window);
    const QKeySequence sequence = key_sequence(combination);
    if (owner == nullptr || sequence.isEmpty())
        return;
    const auto key = std::make_pair(window, combination);
    if (const auto it = shortcuts_.find(key); it != shortcuts_.end()) {
        delete it->second.data();
        shortcuts_.erase(it);
    }
    auto* shortcut = new QShortcut(sequence, owner);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, shortcut,
                     [this, id, window] { post_menu_event(id, window); });
    shortcuts_[key] = shortcut;
}

} // namespace fontarel
