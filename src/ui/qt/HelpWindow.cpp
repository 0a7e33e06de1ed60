#include "ui/qt/HelpWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QVBoxLayout>

namespace zr::qt {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), text_(new QPlainTextEdit(this)) {
  text_->setReadOnly(true);
  text_->setAccessibleName(tr("Help text"));
  // Not the engine's: Escape closes it here.
  auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(close, &QShortcut::activated, this, &QWidget::close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  resize(640, 480);
}

// The working folder first (an operator's own copy wins), then the help
// shipped beside the program, then where an install puts it (bin/../share).
QString HelpWindow::locate(const QString& fileName) {
  const QString appDir = QCoreApplication::applicationDirPath();
  for (const QString& candidate : {fileName, appDir + "/" + fileName, appDir + "/help/" + fileName,
                                   appDir + "/../share/zr3817/" + fileName})
    if (QFile::exists(candidate)) return candidate;
  return fileName;
}

void HelpWindow::showFile(const QString& fileName) {
  setWindowTitle(fileName);
  QFile file(locate(fileName));
  if (!file.exists()) {
    text_->setPlainText(tr("The help file %1 was not found in %2.").arg(fileName, QDir::currentPath()));
  } else if (!file.open(QIODevice::ReadOnly)) {
    text_->setPlainText(tr("The help file %1 cannot be read: %2").arg(fileName, file.errorString()));
  } else {
    const QByteArray bytes = file.readAll();
    // A compiled help file is not text; say so rather than show noise.
    text_->setPlainText(bytes.contains('\0') ? tr("The help file %1 is not a text file.").arg(fileName)
                                             : QString::fromLocal8Bit(bytes));
  }
  show();
  raise();
  activateWindow();
}

}  // namespace zr::qt
