#pragma once

#include <QColor>
#include <QPoint>
#include <QString>
#include <optional>

#include "platform/Form.h"

class QEventLoop;
class QPushButton;

namespace pagora {

class TButtonXp;
class TPaintBoxXp;
class TRadioButtonXp;
struct SkinPictures;

// A dialog with its own look: no frame of the platform's, a picture title bar
// with icon and caption, its own minimise and close buttons, a thin frame in
// a colour of the title picture and rounded top corners. Set-up also skins
// the derived form's controls: push buttons become picture buttons, radio
// buttons glyph buttons, edits flat, gauges the skin's colours.
//
// The derived form places its controls at their design places inside a form
// of its design size, then calls FormCreate.
class TFormXp : public Form {
  public:
    // The border the form was designed with; a dialog has no minimise button
    // and no icon.
    enum class BorderStyle { Single, Dialog };
    enum { mrNone = 0, mrOk = 1, mrCancel = 2 };

    TFormXp(QWidget* owner, BorderStyle design);
    ~TFormXp() override;

    // Centred on the screen and application-modal; returns ModalResult once
    // the form is closed.
    int ShowModal();
    // Closes the form; a modal one returns the result from ShowModal.
    void CloseWith(int result);
    int ModalResult = mrNone;

    // The form's ground, behind its controls.
    QColor Color;
    // Enter clicks the focused push button, else DefaultButton; Esc clicks
    // CancelButton, else closes.
    QPushButton* DefaultButton = nullptr;
    QPushButton* CancelButton = nullptr;

    TPaintBoxXp* TitleBox() const { return title_; }
    TPaintBoxXp* CloseButton() const { return close_; }
    TPaintBoxXp* MinimizeButton() const { return minimize_; }
    TButtonXp* ButtonXp() const { return buttonXp_; }
    TRadioButtonXp* RadioButtonXp() const { return radioButtonXp_; }
    BorderStyle DesignBorderStyle() const { return designBorder_; }
    // The look follows activation; tests may hold it.
    bool LooksActive() const;
    void SetLooksActive(std::optional<bool> active);

    const SkinPictures& SkinOfForm() const;
    // What a skinned box shows where its picture is transparent: its parent
    // under it, or the title bar for the title buttons. In device pixels.
    QImage Backdrop(const QWidget* box) const;

  protected:
    void FormCreate();
    void FormPaint() override;
    void FormClose();

    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void SkinChildren();
    void MakeTitleBar();
    TPaintBoxXp* MakeTitleButton(int right, const QString& hint, bool close);
    void PaintTitleBar();
    void RepaintAll();
    void TitlePressed(QPoint global);
    void TitleDragged(QPoint global);
    void Restyle(QWidget* container);

    BorderStyle designBorder_;
    TPaintBoxXp* title_ = nullptr;
    TPaintBoxXp* close_ = nullptr;
    TPaintBoxXp* minimize_ = nullptr;
    TButtonXp* buttonXp_ = nullptr;
    TRadioButtonXp* radioButtonXp_ = nullptr;
    QEventLoop* loop_ = nullptr;
    std::optional<bool> heldActive_;
    // A drag without a window manager: where the pointer and the form were.
    bool dragging_ = false;
    QPoint dragPointer_, dragOrigin_;
};

}  // namespace pagora
