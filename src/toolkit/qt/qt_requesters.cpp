// The colour chooser, the file requesters and the clipboard. Qt's own dialogs are used rather than
// the desktop's, so they behave the same everywhere and can be driven in tests.

#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>

#include "toolkit/qt/qt_toolkit.h"

namespace fontarel {
namespace {

// Qt name filters for a pattern list: fields separated by '|', alternately a label and its
// patterns (separated by ';'). A label that already ends in its patterns in parentheses is used
// as it is; otherwise the patterns are appended in the form Qt reads. A label without a pattern
// lists every file.
QStringList name_filters(const std::string& patterns) {
    QStringList filters;
    if (patterns.empty())
        return filters;
    const QStringList fields = QString::fromStdString(patterns).split(QLatin1Char('|'));
    for (qsizetype i = 0; i < fields.size(); i += 2) {
        const QString label = fields[i].trimmed();
        QStringList globs = i + 1 < fields.size()
                                ? fields[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)
                                : QStringList();
        for (QString& glob : globs)
            glob = glob.trimmed();
        globs.removeAll(QString());
        if (globs.isEmpty())
            globs << QStringLiteral("*");
        const QString suffix = QLatin1Char('(') + globs.join(QLatin1Char(' ')) + QLatin1Char(')');
        if (label.isEmpty())
            filters << suffix;
        else if (label.endsWith(suffix))
            filters << label;
        else
            filters << label + QLatin1Char(' ') + suffix;
    }
    return filters;
}

} // namespace

int QtToolkit::choose_colour() {
    QColorDialog dialog(QColor(0, 0, 0), requester_parent());
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (run_modal(dialog) != QDialog::Accepted)
        return -1;
    const QColor colour = dialog.selectedColor();
    return rgb(colour.red(), colour.green(), colour.blue());
}

int QtToolkit::choose_palette_entry(const std::string& title, std::span<const Colour> colours,
                                    int current, PaletteCheck* check) {
    constexpr int kPerRow = 8;
    QDialog dialog(requester_parent());
    dialog.setWindowTitle(QString::fromStdString(title));
    auto* layout = new QVBoxLayout(&dialog);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    int chosen = -1;
    for (int i = 0; i < static_cast<int>(colours.size()); ++i) {
        const Colour c = colours[static_cast<size_t>(i)];
        const int red = c & 0xFF, green = (c >> 8) & 0xFF, blue = (c >> 16) & 0xFF;
        // The number in black or white, whichever stands out from the swatch.
        const bool light = 299 * red + 587 * green + 114 * blue > 128000;
        auto* swatch = new QPushButton(QString::number(i), &dialog);
        // A large palette (the Atari's 16 hues of 8 luminances) in flatter swatches, so that
        // its 16 rows fit a small screen.
        swatch->setFixedSize(40, colours.size() > 16 ? 20 : 32);
        // Every swatch takes Return when it has the focus (a dialog's buttons do by default): the
        // one the chooser opens on, or the one the user moved to with Tab.
        swatch->setStyleSheet(
            QStringLiteral("QPushButton { background: rgb(%1,%2,%3); color: %4; border: %5; }")
                .arg(red)
                .arg(green)
                .arg(blue)
                .arg(light ? QStringLiteral("black") : QStringLiteral("white"))
                .arg(i == current ? QStringLiteral("3px solid rgb(255,0,0)")
                                  : QStringLiteral("1px solid gray")));
        QObject::connect(swatch, &QPushButton::clicked, &dialog, [&dialog, &chosen, i] {
            chosen = i;
            dialog.accept();
        });
        grid->addWidget(swatch, i / kPerRow, i % kPerRow);
        if (i == current)
            swatch->setFocus();
    }
    QCheckBox* box = nullptr;
    if (check) {
        box = new QCheckBox(QString::fromStdString(check->label), &dialog);
        box->setChecked(check->on);
        layout->addWidget(box);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (run_modal(dialog) != QDialog::Accepted)
        return -1;
    if (box)
        check->on = box->isChecked();
    return chosen;
}

std::string QtToolkit::ask_text(const std::string& title, const std::string& label,
                                const std::string& initial) {
    QInputDialog dialog(requester_parent());
    dialog.setWindowTitle(QString::fromStdString(title));
    dialog.setLabelText(QString::fromStdString(label));
    dialog.setTextValue(QString::fromStdString(initial));
    if (run_modal(dialog) != QDialog::Accepted)
        return {};
    return dialog.textValue().toStdString();
}

bool QtToolkit::ask_yes_no(const std::string& caption, const std::string& text) {
    QMessageBox box(QMessageBox::Question, QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No,
                    requester_parent());
    box.setDefaultButton(QMessageBox::No);
    return run_modal(box) == QMessageBox::Yes;
}

int QtToolkit::choose_from_list(const std::string& title, const std::string& label,
                                const std::vector<std::string>& rows) {
    if (rows.empty())
        return -1;
    QDialog dialog(requester_parent());
    dialog.setWindowTitle(QString::fromStdString(title));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QString::fromStdString(label), &dialog));
    auto* list = new QListWidget(&dialog);
    for (const std::string& row : rows)
        list->addItem(QString::fromStdString(row));
    list->setCurrentRow(0);
    list->setMinimumWidth(list->sizeHintForColumn(0) + 40);
    layout->addWidget(list);
    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    // A double click chooses its row, as Return chooses the selected one.
    QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    list->setFocus();
    if (run_modal(dialog) != QDialog::Accepted)
        return -1;
    return list->currentRow();
}

std::string QtToolkit::choose_file(bool save, const std::string& title, const std::string& start,
                                   const std::string& patterns, int pattern_index) {
    // The directory part runs up to and including the last '/' or '\'; the rest is the name.
    const size_t cut = start.find_last_of("/\\");
    std::string directory = cut == std::string::npos ? std::string() : start.substr(0, cut + 1);
    const std::string name = cut == std::string::npos ? start : start.substr(cut + 1);
    if (directory.empty())
        directory = working_directory();

    QFileDialog dialog(requester_parent(), QString::fromStdString(title),
                       QString::fromStdString(directory));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Any name in an existing folder: the open requester accepts a missing file too.
    dialog.setFileMode(QFileDialog::AnyFile);
    if (save)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = name_filters(patterns);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (pattern_index >= 0 && pattern_index < filters.size())
            dialog.selectNameFilter(filters[pattern_index]);
    }
    if (!name.empty())
        dialog.selectFile(QString::fromStdString(name));

    const bool accepted = run_modal(dialog) == QDialog::Accepted;
    const QStringList chosen = dialog.selectedFiles();
    if (!accepted || chosen.isEmpty()) {
        chosen_pattern_ = -1;
        return {};
    }
    chosen_pattern_ =
        std::max<int>(0, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())));
    return chosen.first().toStdString();
}

std::string QtToolkit::choose_open_file(const std::string& title, const std::string& start,
                                        const std::string& patterns, int pattern_index) {
    return choose_file(false, title, start, patterns, pattern_index);
}

std::string QtToolkit::choose_save_file(const std::string& title, const std::string& start,
                                        const std::string& patterns, int pattern_index) {
    return choose_file(true, title, start, patterns, pattern_index);
}

void QtToolkit::set_clipboard(const std::string& text, std::span<const uint8_t> private_data) {
    auto* data = new QMimeData; // the clipboard takes ownership
    data->setText(QString::fromStdString(text));
    if (!private_data.empty())
        data->setData(kPrivateClipboardType,
                      QByteArray(reinterpret_cast<const char*>(private_data.data()),
                                 static_cast<qsizetype>(private_data.size())));
    QGuiApplication::clipboard()->setMimeData(data);
}

bool QtToolkit::read_clipboard(std::string& text, std::vector<uint8_t>& private_data) {
    text.clear();
    private_data.clear();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return false;
    if (data->hasFormat(kPrivateClipboardType)) {
        const QByteArray bytes = data->data(kPrivateClipboardType);
        private_data.assign(reinterpret_cast<const uint8_t*>(bytes.constData()),
                            reinterpret_cast<const uint8_t*>(bytes.constData()) + bytes.size());
    }
    if (data->hasText())
        text = data->text().toStdString();
    return !text.empty() || !private_data.empty();
}

} // namespace fontarel
