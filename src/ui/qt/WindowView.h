#pragma once
// A Qt window that draws one window model and forwards the operator's input.
// It builds a widget per control by kind, applies each new snapshot of the
// model by difference with the last one it showed, and never lets a change
// made by code come back as input.
#include <QMainWindow>
#include <QMoveEvent>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/InputEvent.h"
#include "ui/WindowModel.h"

class QAction;
class QMenu;

namespace zr::qt {

class WindowView : public QMainWindow {
  Q_OBJECT

 public:
  using InputSink = std::function<void(InputEvent)>;

  // Lays the controls out in design order, frames holding their children.
  // Text boxes named in `multiLineTextBoxes` get room for several lines.
  WindowView(const WindowModel& model, InputSink sink, QWidget* parent = nullptr,
             std::set<std::string> multiLineTextBoxes = {});

  const std::string& windowName() const { return name_; }

  // Show `model`, touching only what changed since the last call.
  void apply(const WindowModel& model);

  // nullptr when the model has no such control (or it has no widget).
  QWidget* widget(const std::string& name, int index = -1) const;
  QAction* action(const std::string& name, int index = -1) const;

  // Input that belongs to the window itself (form-level keys).
  void postWindowInput(EventKind kind, int keyCode, int shift);

  // Once the program has ended, closing really closes.
  void allowClose() { closable_ = true; }

  // Gives each button, option, check box and menu of the window an access
  // key (Alt+letter) where its caption has none; captions that change keep
  // their letter where they still have it.
  void assignAccessKeys();

  // Where a window of `size` opens beside its anchor (WindowModel::
  // kBesideAnchor): its left edge as far from the main window's right edge
  // as the anchor frame is wide, its top on the main window's top, then
  // moved back inside `screen` where it would stick out.
  static QPoint besideAnchor(const QRect& mainWindow, int anchorWidth, const QSize& size, const QRect& screen);
  // `at` moved back inside `area` where a window of `size` would stick out
  // past its right or bottom edge; a window larger than the area keeps its
  // top left corner (title bar, menus) in it.
  static QPoint insideArea(QPoint at, const QSize& size, const QRect& area);

 protected:
  struct Deferred {};
  // Builds the widgets but leaves them unplaced: a subclass lays them out on
  // centralWidget() and then calls showInitial().
  WindowView(const WindowModel& model, InputSink sink, QWidget* parent, Deferred,
             std::set<std::string> multiLineTextBoxes = {});
  void showInitial(const WindowModel& model);
  // Ids ("cmdF(3)") of every control with a widget, in design order.
  const std::vector<std::string>& controlOrder() const { return order_; }
  const Control* control(const std::string& id) const;
  QWidget* widgetById(const std::string& id) const;
  // Input as if from control `id` (keyboard stand-ins for mouse input).
  void postInput(const std::string& id, InputEvent event);
  // After every apply and the initial show, for what a subclass derives
  // from the whole model (readouts, names that depend on other controls).
  virtual void afterApply(const WindowModel&) {}

  void closeEvent(QCloseEvent* event) override;
  // Escape closes a dialog or list window as its close box does.
  void keyPressEvent(QKeyEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Binding {
    Control last;
    QWidget* widget = nullptr;
    QAction* action = nullptr;
    bool textStale = false;  // the model's text waits until the operator stops typing
    char accessKey = 0;
  };

  void build(const WindowModel& model, const std::set<std::string>& multiLine);
  void buildMenus(const WindowModel& model);
  void connectInput(Binding& binding);
  void layoutGeneric();
  void applyWindow(const Control* before, const Control& now);
  // Puts the window where the model says when it opens or its position
  // changes; `moveTo` moves it there and tells the model.
  void placeWindow(const Control& now);
  void moveTo(QPoint target);
  // A window that grew is kept on its screen, and centred while it has been
  // placed centred and not moved since.
  void keepOnScreen();
  void scrollIfLargerThan(const QRect& area);
  bool scrolls_ = false;
  void reportPosition();
  int toPixels(int twips) const;
  int toTwips(int pixels) const;
  // The model's "centred as designed" position.
  static constexpr int kCentred = -2147483647 - 1;
  bool placing_ = false;
  bool centred_ = false;
  QPoint placedAt_;
  // Positions (twips) told to the model that it has not handed back yet.
  std::vector<QPoint> reported_;
  // Where the keyboard was when a modal window disabled this one.
  QPointer<QWidget> focusBeforeModal_;
  void applyBinding(Binding& binding, const Control* before, const Control& now);
  void applyAction(QAction* action, const Control* before, const Control& now);
  void showStaleText(Binding& binding);
  void name(Binding& binding, const WindowModel& model);
  void labelValueControls();
  void showAccessKey(const Binding& binding);
  void post(const Binding& binding, InputEvent event);
  Binding* bindingOf(const QObject* object);

  std::string name_;
  InputSink sink_;
  Control window_;
  std::map<std::string, Binding> bindings_;
  std::vector<std::string> order_;
  std::vector<std::string> menuOrder_;
  bool closable_ = false;
};

}  // namespace zr::qt
