#pragma once
// The physical state of the Escape key as the program sees it, tracked by an application-wide event
// filter (Qt offers no query of a key's state).

#include <QObject>
#include <functional>

class QWidget;

namespace fontarel {

class EscapeTracker : public QObject {
    Q_OBJECT
  public:
    // `own_window` tells whether a top-level widget is one of the program's own windows.
    explicit EscapeTracker(std::function<bool(const QWidget*)> own_window);
    ~EscapeTracker() override;

    bool down() const { return down_; }
    // Back to "up"; called when a modal requester or a popup returns, so that an Escape that was
    // meant for it is forgotten even if its release went elsewhere.
    void reset() { down_ = false; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<bool(const QWidget*)> own_window_;
    bool down_ = false;
};

} // namespace fontarel
