#pragma once

#include <QByteArray>

namespace browsing {

inline constexpr int TabCaptionMaxBytes = 30;

// The caption of a page tab from its document's own title (GBK bytes): a
// title of 30 bytes or more is cut to 30 bytes, or 31 where the 30th byte
// begins a two-byte character, and gets "..."; a title of fewer than two
// bytes stands behind "新建页面"; any other title is the caption.
QByteArray TabCaption(const QByteArray& title);

} // namespace browsing
