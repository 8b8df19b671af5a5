#pragma once
// The version information dialog, shown as the start-up splash: program
// picture, producer, program file name and its version. It goes away for
// good as soon as another window of the program takes the activation.
#include <QWidget>

#include <string>

class QFrame;
class QLabel;
class QWindow;

namespace telvara {

class TVersionForm : public QWidget {
    Q_OBJECT
public:
    explicit TVersionForm(QWidget* parent = nullptr);

    // FormCreate's work for a given program path; an empty path keeps the
    // design texts "FileName" and "No".
    void FillIdentity(const std::string& modulePath);

    // True once another window took the activation: never shown again.
    bool Released() const { return released_; }
    void setVisible(bool visible) override;

private:
    // Fills FileNameLbl and VerLbl from the running program file.
    void FormCreate();
    // Another window of the program took the activation: hide now, destroy
    // once control is back in the event loop, never show again.
    void FormDeactivate();
    void focusWindowChanged(QWindow* window);

    // Controls, named as in the dialog's design; each control's objectName
    // is its name.
    QFrame* Panel1;
    QLabel* ProgramIcon;
    QLabel* Producer;
    QLabel* Label1;
    QLabel* FileNameLbl;
    QLabel* Version;
    QLabel* VerLbl;
    QLabel* Copyright;
    QLabel* Comments;
    QLabel* Label2;
    QLabel* Label3;

    bool released_ = false;
};

// Creates the splash, shows it without waiting and paints it at once.
// The application object must already exist.
TVersionForm* ShowSplash();

// The picture of the program (a coordination curve on log-log paper).
QPixmap programPicture(int size);

} // namespace telvara
