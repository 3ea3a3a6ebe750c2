#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

class QRadioButton;

namespace pagora {

class TFormXp;
class TPaintBoxXp;

// The glyph radio buttons of a skinned form: a paint box in each radio
// button's place; the radio button itself is hidden and keeps the state.
class TRadioButtonXp : public QObject {
  public:
    struct Entry {
        // Either may go first when the form is taken down.
        QPointer<TPaintBoxXp> Box;
        QPointer<QRadioButton> Button;
    };

    explicit TRadioButtonXp(TFormXp* owner);
    ~TRadioButtonXp() override;

    const std::vector<Entry>& Entries() const { return entries_; }

  private:
    void Paint(int index);
    void Click(int index);

    TFormXp* owner_;
    std::vector<Entry> entries_;
};

}  // namespace pagora
