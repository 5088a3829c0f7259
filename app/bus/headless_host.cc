#include "headless_host.h"

#include <QCoreApplication>

namespace jov {

void HeadlessHost::Quit() {
  // After the reply of the call in hand has gone out.
  QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                            Qt::QueuedConnection);
}

}  // namespace jov
