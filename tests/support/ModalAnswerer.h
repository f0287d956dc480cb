#pragma once

#include "ModalGuard.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

// Answers the next modal window of type T (a message box, a file dialog,
// the about box) once it is shown: a timer looks for it while the code under
// test runs the window's own event loop. `answered()` tells whether it was
// found; a window that never appears is given up after `patience` ms. While
// it waits, a window of type T is expected (ModalGuard lets it be).
template<typename T>
class ModalAnswerer
{
public:
    explicit ModalAnswerer(std::function<void(T *)> answer, int patience = 15000)
        : answerFunction(std::move(answer))
    {
        ModalGuard::expect(this, [](QWidget *window) { return qobject_cast<T *>(window) != nullptr; });
        clock.start();
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [this, patience] {
            T *window = findWindow();
            if (window) {
                timer.stop();
                found = true;
                answerFunction(window);
                ModalGuard::release(this);
            } else if (clock.elapsed() > patience) {
                timer.stop();
                ModalGuard::release(this);
            }
        });
        timer.start();
    }

    ~ModalAnswerer() { ModalGuard::release(this); }
    ModalAnswerer(const ModalAnswerer &) = delete;
    ModalAnswerer &operator=(const ModalAnswerer &) = delete;

    bool answered() const { return found; }

private:
    static T *findWindow()
    {
        if (auto *modal = qobject_cast<T *>(QApplication::activeModalWidget()))
            return modal;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *candidate = qobject_cast<T *>(widget);
            if (candidate && candidate->isVisible() && candidate->isModal())
                return candidate;
        }
        return nullptr;
    }

    std::function<void(T *)> answerFunction;
    QTimer timer;
    QElapsedTimer clock;
    bool found = false;
};
