#pragma once
// Our own help viewer: shows a help file as plain text, or says why it cannot.
#include <QWidget>

class QPlainTextEdit;

namespace zr::qt {

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent = nullptr);
  void showFile(const QString& fileName);
  static QString locate(const QString& fileName);

 private:
  QPlainTextEdit* text_;
};

}  // namespace zr::qt
