#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

class QPushButton;

namespace pagora {

class TFormXp;
class TPaintBoxXp;

// The picture buttons of a skinned form: a paint box in each push button's
// place, while the button itself moves far out of sight and keeps its keys
// (Enter, Esc, Tab, its "&" key) and its click handler.
class TButtonXp : public QObject {
  public:
    // The look of a button: normal, hover, pressed.
    enum { kNormal = 0, kHover = 1, kPressed = 2 };
    // Where the real buttons live on.
    static constexpr int kOutOfSight = -3000;

    struct Entry {
        // Either may go first when the form is taken down.
        QPointer<TPaintBoxXp> Box;
        QPointer<QPushButton> Button;
        int Look = kNormal;
    };

    explicit TButtonXp(TFormXp* owner);
    ~TButtonXp() override;

    const std::vector<Entry>& Entries() const { return entries_; }
    // Repaints every skinned button of the form.
    void Repaint();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Paint(int index);
    void Click(int index);
    void SetLook(int index, int look);

    TFormXp* owner_;
    std::vector<Entry> entries_;
};

}  // namespace pagora
