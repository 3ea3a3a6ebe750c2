#include "shell/TButtonXp.h"

#include <QEvent>
#include <QPointer>
#include <QPushButton>

#include "shell/SkinPainter.h"
#include "shell/SkinPictures.h"
#include "shell/TFormXp.h"
#include "shell/TPaintBoxXp.h"

namespace pagora {

TButtonXp::TButtonXp(TFormXp* owner) : QObject(owner), owner_(owner) {
    for (QPushButton* button : owner->findChildren<QPushButton*>()) {
        const int k = static_cast<int>(entries_.size());
        auto* box = new TPaintBoxXp(button->parentWidget());
        box->setGeometry(button->geometry());
        box->setVisible(!button->isHidden());
        box->setFont(button->font());
        box->Tag = k;
        box->OnPaint = [this, k] { Paint(k); };
        box->OnClick = [this, k] { Click(k); };
        box->OnMouseEnter = [this, k] { SetLook(k, kHover); };
        box->OnMouseLeave = [this, k] { SetLook(k, kNormal); };
        box->OnMouseDown = [this, k](QPoint) { SetLook(k, kPressed); };
        button->move(kOutOfSight, button->y());
        button->installEventFilter(this);
        entries_.push_back({box, button, kNormal});
    }
}

TButtonXp::~TButtonXp() {
    for (const Entry& entry : entries_) {
        if (entry.Button)
            entry.Button->removeEventFilter(this);
        delete entry.Box.data();
    }
}

void TButtonXp::Repaint() {
    for (const Entry& entry : entries_)
        if (entry.Box)
            entry.Box->Invalidate();
}

bool TButtonXp::eventFilter(QObject* watched, QEvent* event) {
    // A button being taken down is no push button any more.
    if (qobject_cast<QPushButton*>(watched) == nullptr)
        return false;
    // The box follows what the form does to its button.
    for (const Entry& entry : entries_) {
        if (entry.Button.data() != watched)
            continue;
        if (event->type() == QEvent::EnabledChange)
            entry.Box->Invalidate();
        else if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)
            entry.Box->setVisible(!entry.Button->isHidden());
    }
    return false;
}

void TButtonXp::Paint(int index) {
    const Entry& entry = entries_.at(index);
    const ScreenScale scale = entry.Box->Scale();
    PaintSkinnedButton(entry.Box->GetCanvas(), Skin(scale), entry.Look, entry.Button->isEnabled(),
                       entry.Button->text(), DeviceFont(entry.Button->font(), scale),
                       owner_->Backdrop(entry.Box), scale);
}

void TButtonXp::SetLook(int index, int look) {
    entries_.at(index).Look = look;
    entries_.at(index).Box->Invalidate();
}

void TButtonXp::Click(int index) {
    QPushButton* button = entries_.at(index).Button;
    if (!button->isEnabled())
        return;
    QPointer<TButtonXp> alive(this);
    button->click();
    if (alive)
        Repaint();
}

}  // namespace pagora
