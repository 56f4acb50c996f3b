// Building a window's fixed controls: each is made inside its parent, under the name the tests
// and commands find it by, at its place in pixels.
#pragma once

#include <QLatin1String>
#include <QRect>
#include <QWidget>

#include <utility>

namespace dialogs {

// MakeControl<QPushButton>(parent, "BtnClose", {0, 216, 209, 25}, caption): the arguments
// after the place are the control's own, before its parent.
template <class Control, class... Args>
Control* MakeControl(QWidget* parent, const char* name, QRect place, Args&&... args) {
  auto* control = new Control(std::forward<Args>(args)..., parent);
  control->setObjectName(QLatin1String(name));
  control->setGeometry(place);
  return control;
}

}  // namespace dialogs
