#include "shell/TRadioButtonXp.h"

#include <QPointer>
#include <QRadioButton>

#include "shell/SkinPainter.h"
#include "shell/SkinPictures.h"
#include "shell/TFormXp.h"
#include "shell/TPaintBoxXp.h"

namespace pagora {

TRadioButtonXp::TRadioButtonXp(TFormXp* owner) : QObject(owner), owner_(owner) {
    for (QRadioButton* radio : owner->findChildren<QRadioButton*>()) {
        const int k = static_cast<int>(entries_.size());
        auto* box = new TPaintBoxXp(radio->parentWidget());
        box->setGeometry(radio->geometry());
        box->setFont(radio->font());
        box->Tag = k;
        box->OnPaint = [this, k] { Paint(k); };
        box->OnClick = [this, k] { Click(k); };
        box->setVisible(!radio->isHidden());
        radio->hide();
        // Checked from code, as the dialog does when it opens, shows too.
        connect(radio, &QRadioButton::toggled, box, [box] { box->Invalidate(); });
        entries_.push_back({box, radio});
    }
}

TRadioButtonXp::~TRadioButtonXp() {
    for (const Entry& entry : entries_)
        delete entry.Box.data();
}

void TRadioButtonXp::Paint(int index) {
    const Entry& entry = entries_.at(index);
    const ScreenScale scale = entry.Box->Scale();
    PaintSkinnedRadio(entry.Box->GetCanvas(), Skin(scale), entry.Button->isChecked(),
                      entry.Button->text(), DeviceFont(entry.Button->font(), scale),
                      entry.Button->palette().color(QPalette::WindowText),
                      owner_->Backdrop(entry.Box), scale);
}

void TRadioButtonXp::Click(int index) {
    QRadioButton* radio = entries_.at(index).Button;
    QWidget* group = entries_.at(index).Box->parentWidget();
    QPointer<TRadioButtonXp> alive(this);
    if (radio->isChecked())
        radio->click();
    else
        radio->setChecked(true);
    if (!alive)
        return;
    for (const Entry& entry : entries_)
        if (entry.Button->parentWidget() == group)
            entry.Box->Invalidate();
}

}  // namespace pagora
