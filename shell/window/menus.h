// A window's menu table as Qt actions: one popup per run of items with the
// same popup title, items without a popup added to the window for their
// shortcut alone. Each action carries its command number as its data.
#pragma once

#include <functional>
#include <span>

#include "shell/menu.h"

class QMainWindow;

namespace shell {

void AddMenuItems(QMainWindow& window, std::span<const MenuItem> items, std::function<void(int)> run);

}  // namespace shell
