#pragma once

#include <QWidget>
#include <cstdint>
#include <optional>

class QLineEdit;
class QToolButton;

namespace quillo {

// A number edit with up and down arrows beside it. The edit takes any text,
// so that a page can tell the user what is wrong with it when it is read;
// the arrows (and the Up and Down keys in the edit) step the number within
// the range.
class SpinEdit final : public QWidget {
  Q_OBJECT

 public:
  enum class Kind { Unsigned, Signed };

  SpinEdit(QWidget* parent, Kind kind, int32_t minimum, int32_t maximum, int32_t step);

  void SetValue(int32_t value);
  // The number the edit holds, or nothing when its text is not a number of
  // the edit's kind that fits 32 bits.
  std::optional<int32_t> Value() const;
  QLineEdit* Edit() const { return edit_; }
  // Moves `steps` steps up (negative: down), as the arrows do.
  void StepBy(int steps);

  // A text as a number of `kind`: decimal digits, a sign only for Signed,
  // blanks around it allowed.
  static std::optional<int32_t> Parse(const QString& text, Kind kind);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Kind kind_;
  int32_t minimum_;
  int32_t maximum_;
  int32_t step_;
  QLineEdit* edit_;
};

}  // namespace quillo
