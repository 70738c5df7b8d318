// Base of the program's windows: the one thing every window offers is the
// title that message boxes shown over it carry. Main (GTK) thread only.
#pragma once

#include "text/wide_string.h"

class CWnd {
 public:
  virtual WideString getWindowTitle() const { return WideString(); }

 protected:
  CWnd() = default;
  ~CWnd() = default;
};
