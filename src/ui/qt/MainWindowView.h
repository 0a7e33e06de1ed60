#pragma once
// The main window as a front panel: the generic control widgets of
// frmZR3817, laid out by hand. Controls the layout expects but the model lacks
// are skipped; controls the model has but the layout does not name still
// appear, in their frame or below the panel.
#include <QFont>
#include <set>
#include <string>
#include <vector>

#include "ui/qt/Announcer.h"
#include "ui/qt/DigitDisplay.h"
#include "ui/qt/WindowView.h"

class QGridLayout;
class QAbstractButton;
class QGroupBox;
class QLayout;

namespace zr::qt {

class MainWindowView : public WindowView {
  Q_OBJECT

 public:
  MainWindowView(const WindowModel& model, InputSink sink, QWidget* parent = nullptr);

  // Controls the layout places that this model does not have.
  const std::vector<std::string>& missingControls() const { return missing_; }

  // The VFO A and VFO B displays and the channel number, each one control.
  DigitDisplay* vfoADisplay() const { return vfoA_; }
  DigitDisplay* vfoBDisplay() const { return vfoB_; }
  DigitDisplay* channelDisplay() const { return channel_; }

  // Spoken by a screen reader whatever has the focus.
  void announce(const std::vector<std::string>& texts);
  Announcer* announcer() const { return announcer_; }

 protected:
  void afterApply(const WindowModel& model) override;

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
  // A display over the digit array `name`, which the mouse still presses
  // button by button; typing on it reaches the array's first digit.
  DigitDisplay* digitDisplay(const std::string& name, const QString& accessibleName, QWidget* parent,
                             bool frequency);
  // Tab goes through the controls in the order the panel shows them.
  void chainTabOrder();
  void sayComboValues();

  DigitDisplay* vfoA_ = nullptr;
  DigitDisplay* vfoB_ = nullptr;
  DigitDisplay* channel_ = nullptr;
  Announcer* announcer_ = nullptr;
  std::vector<QWidget*> shownOrder_;

  std::set<std::string> placed_;
  std::vector<std::string> missing_;
};

}  // namespace zr::qt
