#pragma once

#include "ModalGuard.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

// Answers the next modal window of type T (a message box, a file dialog,
// the about box), of those `matches` accepts when given, once it is shown:
// a timer looks for it while the code under test runs the window's own
// event loop. `answered()` tells whether it was found; a window that never
// appears is given up after `patience` ms. While it waits, such a window is
// expected (ModalGuard lets it be).
template<typename T>
class ModalAnswerer
{
public:
    using Matches = std::function<bool(T *)>;

    explicit ModalAnswerer(std::function<void(T *)> answer, int patience = 15000, Matches matches = {})
        : answerFunction(std::move(answer))
        , matches(std::move(matches))
    {
        ModalGuard::expect(this, [this](QWidget *window) { return isMatch(qobject_cast<T *>(window)); });
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
    bool isMatch(T *window) const { return window && (!matches || matches(window)); }

    T *findWindow() const
    {
        auto *modal = qobject_cast<T *>(QApplication::activeModalWidget());
        if (isMatch(modal))
            return modal;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *candidate = qobject_cast<T *>(widget);
            if (isMatch(candidate) && candidate->isVisible() && candidate->isModal())
                return candidate;
        }
        return nullptr;
    }

    std::function<void(T *)> answerFunction;
    Matches matches;
    QTimer timer;
    QElapsedTimer clock;
    bool found = false;
};
