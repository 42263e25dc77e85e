#pragma once
// A core Form drawn as a fixed dialog: labels and command buttons at their twip
// places, the outer frame where the core put it.

#include <QDialog>
#include <functional>
#include <string>

#include "platform/platform.h"

namespace tessaron::qt {

class FormDialog : public QDialog {
 public:
  // `frameWidth`: what the window manager's borders add to the client width, in pixels.
  FormDialog(const Form& form, int frameWidth, QWidget* owner,
             std::function<void(const std::string&)> onClick);
};

}  // namespace tessaron::qt
