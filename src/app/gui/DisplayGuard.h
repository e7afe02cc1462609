#pragma once

#include <QString>
#include <QtGlobal>

// Qt ends the program with abort(), a core dump and an English message when its platform
// cannot start: no display over ssh, or a display that does not answer. While a guard lives,
// such an end says in Polish what the window needs instead and ends with status 1. Qt's other
// messages of that time are held back and passed on when the guard is released, so that a
// start without a display prints the one Polish line alone.
class TDisplayGuard {
public:
  TDisplayGuard();
  ~TDisplayGuard();
  TDisplayGuard(const TDisplayGuard &) = delete;
  TDisplayGuard &operator=(const TDisplayGuard &) = delete;

  // Gives Qt's messages back to the handler there was before and passes on those held back.
  void Release();

  // What is printed when the window cannot start.
  static const char NoDisplayText[];

private:
  QtMessageHandler FPrevious = nullptr;
  bool FReleased = false;
};
