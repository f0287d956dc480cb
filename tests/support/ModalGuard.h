#pragma once

#include <QWidget>

#include <functional>

// Fails the running test at once when a modal dialog shows up that no
// ModalAnswerer waits for, and closes it, instead of letting the test hang
// in the dialog's event loop until CTest gives up on it.
namespace ModalGuard {

// Starts watching; the test main calls it once the application exists.
void start();

// A dialog for which `matches` is true is expected while the key is held.
void expect(const void *key, std::function<bool(QWidget *)> matches);
void release(const void *key);

} // namespace ModalGuard
