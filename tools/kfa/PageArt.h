#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>

namespace kfa {

// A sheet of album paper of the page's size; the side at the spine lies in
// the shade of the fold.
QImage DrawPaper(QSize page, bool spineOnRight, uint32_t seed);

// The size of a picture of width x height scaled, up or down, to the largest
// size of its proportions inside the box.
QSize ScaleToBox(QSize picture, QSize box);

// The room for a photo on a page picture of this size.
QRect PhotoBox(QSize pagePicture);

// Where a photo of this size is mounted on a page picture of this size.
QRect PhotoPlace(QSize pagePicture, QSize photo);

// The page picture for a photo: the paper under the page's picture area with
// the photo mounted at PhotoPlace as a print, its caption beneath.
QImage DrawPhotoPage(const QImage& paper, const QImage& photo, const QString& caption);

// The photo cut to fill the box exactly, keeping its centre.
QImage CropToFill(const QImage& photo, QSize box);

}  // namespace kfa
