// The system clipboard through the toolkit: what it puts there is what other programs see (plain
// text and the private type), and what other programs put there is what it reads.

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "qt_fixture.h"

namespace fontarel::test {
namespace {

using Clipboard = QtToolkitTest;

TEST_F(Clipboard, PlainTextAndPrivateFormPassBothWays) {
    struct Case {
        bool set_by_toolkit; // else set through QClipboard, as another program would
        std::string text;
        std::vector<uint8_t> private_data;
    };
    const Case cases[] = {
        {true, "        .byte $20,$41\n", {2, 0, 1, 0, 0x20, 0x41}},
        {true, "1,2\n", {}},
        {false, "{0x20, 0x41},\n", {}},
        {false, "", {1, 0, 1, 0, 0}},
        {false, "text", {1, 0, 1, 0, 0}},
        {false, "", {}},
    };
    QClipboard* clipboard = QGuiApplication::clipboard();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + (c.set_by_toolkit ? " set by the toolkit" : " set through Qt"));
        const QByteArray private_bytes(reinterpret_cast<const char*>(c.private_data.data()),
                                       static_cast<qsizetype>(c.private_data.size()));
        if (c.set_by_toolkit) {
            // Stale private data from before must not survive a set without it.
            clipboard->clear();
            tk.set_clipboard(c.text, c.private_data);
            const QMimeData* data = clipboard->mimeData();
            ASSERT_NE(data, nullptr);
            EXPECT_EQ(data->text().toStdString(), c.text);
            EXPECT_EQ(data->hasFormat(QtToolkit::kPrivateClipboardType), !c.private_data.empty());
            EXPECT_EQ(data->data(QtToolkit::kPrivateClipboardType), private_bytes);
        } else {
            auto* data = new QMimeData;
            if (!c.text.empty())
                data->setText(QString::fromStdString(c.text));
            if (!c.private_data.empty())
                data->setData(QtToolkit::kPrivateClipboardType, private_bytes);
            clipboard->setMimeData(data);
        }
        std::string text = "stale";
        std::vector<uint8_t> private_data = {9};
        EXPECT_EQ(tk.read_clipboard(text, private_data),
                  !c.text.empty() || !c.private_data.empty());
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(private_data, c.private_data);
    }
}

} // namespace
} // namespace fontarel::test
