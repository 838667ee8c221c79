#include "SaveDialog.h"

#include "Application.h"
#include "Form.h"

#include <QFile>
#include <QFileDialog>

bool TSaveDialog::Execute() {
    QWidget* owner =
        Application && Application->MainForm() ? Application->MainForm()->Widget() : nullptr;
    QFileDialog dialog(owner);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !OverwritePrompt);
    dialog.setDefaultSuffix(QString::fromStdString(DefaultExt));
    if (!FileName.empty()) dialog.selectFile(QFile::decodeName(FileName.c_str()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    FileName = QFile::encodeName(dialog.selectedFiles().first()).toStdString();
    return true;
}
