#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <atomic>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace quillo {

// What both progress dialogs share: a modeless window with a Cancel button
// that sets the cancel flag for the running operation to poll. Enter and
// Escape do nothing; closing the window asks to cancel too, since nothing
// else could stop the operation once the dialog is gone.
class ProgressDialog : public QWidget {
  Q_OBJECT

 public:
  // Safe to ask from the thread that runs the operation.
  bool IsCancelled() const { return cancelled_.load(std::memory_order_relaxed); }
  // What the Cancel button does.
  void Cancel() { cancelled_ = true; }
  QPushButton* CancelButton() const { return cancel_; }
  // Lets the window handle its pending events (repaints, the Cancel button)
  // between the steps of a long operation on the window's own thread. Steps
  // can come thousands of times a second; pumping at most every few
  // milliseconds keeps the window just as responsive and the work fast.
  void PumpEvents() {
    if (PumpDue()) PumpEventsNow();
  }
  // Whether PumpEvents would handle events now.
  bool PumpDue() const { return !lastPump_.isValid() || lastPump_.elapsed() >= kPumpIntervalMs; }
  // Pumps now, however recently it last did.
  void PumpEventsNow();
  // Ends the dialog once the operation is done with it.
  void Finish();

 protected:
  // `body` receives the captions and bars above the Cancel button.
  explicit ProgressDialog(QWidget* parent);
  QVBoxLayout* Body() const { return body_; }
  // A caption line for the body; SetCaptionText shows a text on it.
  QLabel* AddCaption();
  static void SetCaptionText(QLabel* caption, const QString& text);
  // Centres the dialog over its parent and shows it.
  void ShowCentred();

  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QVBoxLayout* body_;
  QPushButton* cancel_;
  static constexpr int kPumpIntervalMs = 10;
  QElapsedTimer lastPump_;
  std::atomic<bool> cancelled_{false};
  bool finished_ = false;
};

}  // namespace quillo
