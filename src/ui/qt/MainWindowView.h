#pragma once
// The main window as a front panel: the generic control widgets of
// frmZR3817, laid out by hand. Controls the layout expects but the model lacks
// are skipped; controls the model has but the layout does not name still
// appear, in their frame or below the panel.
#include <QFont>
#include <set>
#include <string>
#include <vector>

#include "ui/qt/WindowView.h"

class QGridLayout;
class QGroupBox;
class QLayout;

namespace zr::qt {

class MainWindowView : public WindowView {
  Q_OBJECT

 public:
  MainWindowView(const WindowModel& model, InputSink sink, QWidget* parent = nullptr);

  // Controls the layout places that this model does not have.
  const std::vector<std::string>& missingControls() const { return missing_; }

 private:
  QWidget* take(const std::string& name, int index = -1);
  void put(QGridLayout* grid, const std::string& name, int row, int column, int rowSpan = 1, int columnSpan = 1);
  void putAt(QGridLayout* grid, const std::string& name, int index, int row, int column);
  QGroupBox* frame(const std::string& name);

  QLayout* statusRow();
  QWidget* vfoA();
  QWidget* vfoB();
  QWidget* splitAndChannel();
  QWidget* lists();
  QWidget* toggles();
  QWidget* transmit();
  QWidget* meter();
  QWidget* bands();
  QWidget* amplifier();
  QWidget* gainAndBfo();
  QWidget* cat();
  void placeLeftovers(QGridLayout* extras);

  QFont digitFont(int pointSize) const;

  std::set<std::string> placed_;
  std::vector<std::string> missing_;
};

}  // namespace zr::qt
