#pragma once

#include <QString>
#include <optional>
#include <string>

#include "platform/FileDialog.h"
#include "platform/RegistryStore.h"
#include "shell/OptionTarget.h"
#include "shell/TFormXp.h"

class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace pagora {

// The options dialog: page-turn time, time per page, background music and
// page sound on or off, and a music file and background picture of the
// user's own. It shows the settings kept for the album and applies what is
// confirmed to the running book at once, keeping it for the next time.
class TfrmOption : public TFormXp {
  public:
    TfrmOption(QWidget* owner, OptionTarget book,
               const std::string& registryPath = DefaultRegistryPath());

    // The modal result; every showing is also written down for automation.
    int ShowModal();
    static int ShownCount();

    QLabel *Label1, *Label2, *Label3, *Label4;
    QSpinBox *SEdtTurn, *SEdtPlay;
    QGroupBox *GroupBox1, *GroupBox2;
    QRadioButton *RBtnMusicNo, *RBtnMusicOff, *RBtnRangOn, *RBtnRangOff;
    QButtonGroup *MusicGroup, *RangGroup;
    QLineEdit *EdtMusic, *EdtBackPic;
    QPushButton *BtnRowseMusic, *BtnRowsePic;
    QFrame* Bevel1;
    QPushButton *BtnOk, *BtnCancel;
    FileDialogRequest OpenDialogMusic;
    FileDialogRequest OpenPictureDialog;

    void BtnRowseMusicClick();
    void BtnRowsePicClick();
    void BtnOkClick();
    void BtnCancelClick();

  private:
    // How OK ended before its last step: the message, and whether the
    // dialog closes with it.
    struct EarlyEnd {
        QString Message;
        bool Close = false;
    };

    void CreateComponents();
    void FormCreate();
    void ApplyEnglishCaptions();
    void ApplyTimes();
    std::optional<EarlyEnd> ApplyMusic();
    void ApplySound();
    std::optional<EarlyEnd> ApplyBackground();
    void SaveSettings();

    OptionTarget book_;
    RegistryStore store_;
    // As the dialog opened, to tell what the user changed.
    QString openMusic_, openBackPic_;
    bool openMusicOn_ = true, openRangOn_ = true;
};

// A spin edit's text as its value: a number held to the range, anything else
// the range's minimum.
int SpinEditValue(const QString& text, int minimum, int maximum);

}  // namespace pagora
