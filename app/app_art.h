#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>

// The main window's pictures from the program's resources, taken at 200 % from their @2x
// files when the screen is scaled.

// The five tab pictures of bitmap 131, white made transparent, in page order.
QList<QIcon> tabImages();
// Bitmap resource number id, as a pixmap for the current scale.
QPixmap bitmapResource(int id);
// The program icon (resource 128) in all its sizes.
QIcon programIcon();
