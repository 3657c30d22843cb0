#include "platform/msgbox.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMessageBox>
#include <QPushButton>

namespace morvantel {
namespace {

std::function<void(QDialog&)>& ModalRunner()
{
    static std::function<void(QDialog&)> run = [](QDialog& box) { box.exec(); };
    return run;
}

// QMessageBox makes No its escape button by itself, which would let Esc and
// the close button answer a question the user must answer with Yes or No.
class YesNoBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->matches(QKeySequence::Cancel))
            return;
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

} // namespace

MsgBoxAnswer AskYesNo(QWidget* parent, const QString& prompt, const QString& title)
{
    YesNoBox box(QMessageBox::Warning, title, prompt, QMessageBox::Yes | QMessageBox::No, parent);
    box.setWindowModality(Qt::ApplicationModal);
    // QMessageBox adds a close button whatever flags it is given, and setting
    // the modality puts it back, so the flags come last.
    box.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                       Qt::WindowTitleHint);
    box.setDefaultButton(QMessageBox::Yes);
    ModalRunner()(box);
    return box.clickedButton() == box.button(QMessageBox::Yes) ? vbYes : vbNo;
}

void ShowFailure(const QString& text, const QString& title)
{
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    ModalRunner()(box);
}

void SetModalRunner(std::function<void(QDialog&)> run)
{
    ModalRunner() = std::move(run);
}

} // namespace morvantel
