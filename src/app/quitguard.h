#pragma once

#include <QObject>

namespace vantorel {

// Makes a request to quit the application ask every window to close first and abandons the
// quit when one refuses, as a window does while a run is under way. QApplication does not ask
// Qt Quick windows by itself: without this, quitting (Command-Q, logging out) would end the
// process in the middle of a run. Install it on the application object.
class QuitGuard : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace vantorel
