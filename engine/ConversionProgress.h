#pragma once

#include <string>

namespace quillo {

// The two-bar progress display of a conversion, with its cancel flag. The
// window shows a dialog, the command line a terminal bar, tests record.
//
// Threads: a run calls it on the thread that called the engine's entry and,
// while several files convert at once, on the run's job threads too, one
// call at a time: while jobs run, the run holds a lock of its own around
// every call, so the display itself needs no lock against them. It may be
// called while another thread of the run is inside the run's UserPrompts or
// RunListView: a front end that shares one thing between them (a terminal,
// a widget of its own thread) guards it or queues to that thread itself.
class ConversionProgress {
 public:
  virtual ~ConversionProgress() = default;
  // Lower caption and bar: which file of how many.
  virtual void SetOverallText(const std::string& text) = 0;
  virtual void SetOverallRange(int files) = 0;
  virtual void StepOverall() = 0;
  // Upper caption and bar: progress within the current file.
  virtual void SetFileText(const std::string& text) = 0;
  virtual int FileBarWidth() const = 0;
  virtual void SetFileBar(int position) = 0;
  // Lets the front end handle pending events (repaint, the Cancel button).
  virtual void Pump() = 0;
  virtual bool IsCancelled() const = 0;
};

// Shows nothing; cancelled from the start when made so.
class NullProgress final : public ConversionProgress {
 public:
  explicit NullProgress(bool cancelled = false) : cancelled_(cancelled) {}
  void SetOverallText(const std::string&) override {}
  void SetOverallRange(int) override {}
  void StepOverall() override {}
  void SetFileText(const std::string&) override {}
  int FileBarWidth() const override { return 100; }
  void SetFileBar(int) override {}
  void Pump() override {}
  bool IsCancelled() const override { return cancelled_; }

 private:
  bool cancelled_;
};

}  // namespace quillo
