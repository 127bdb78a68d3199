#include <QIcon>
#include <QPixmap>

#include "ui/panel.h"

// The resources live in a static library: referencing the initializer keeps them linked.
static void InitTavimorResources() {
  Q_INIT_RESOURCE(tavimor);
}

namespace tavimor {
namespace {

QPixmap LoadResource(const char* path) {
  static const bool initialized = (InitTavimorResources(), true);
  (void)initialized;
  return QPixmap(QString::fromLatin1(path));
}

}  // namespace

QPixmap DecorationBitmap() {
  return LoadResource(":/bitmaps/137.png");
}
QPixmap LargeIcon() {
  return LoadResource(":/icons/107-32.png");
}
QPixmap SmallIcon() {
  return LoadResource(":/icons/108.png");
}

}  // namespace tavimor
