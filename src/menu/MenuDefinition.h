#pragma once

#include <QByteArray>
#include <QList>

namespace menu {

class MenuBuilder;

// The toolbar holds at most this many buttons; later button lines are dropped.
inline constexpr int MenuButtonCount = 100;
// Pictures of the button picture list, numbered from 0.
inline constexpr int MenuPictureCount = 8;
// The picture number of a button line whose number the list does not have:
// that button shows no picture.
inline constexpr int NoMenuPicture = -1;

// The bytes of a menu file as the show sequence holds them: split into lines
// at CR LF, lone CR or lone LF, joined again with CR LF after every line and
// re-split at CR LF with SplitString. For a file of N lines entry 0 is line 1,
// entries 1 to N - 1 are lines 2 to N each with an LF in front, and entry N is
// a lone LF; an empty text gives an empty list.
QList<QByteArray> SplitMenuText(const QByteArray& Text);

// SplitMenuText of the file FileName (a GBK path); a file that cannot be read
// gives an empty list.
QList<QByteArray> LoadMenuLines(const QByteArray& FileName);

// Reads the re-split MenuLines (every entry but the last), calls the builder
// for every button, item and sub-item line in file order, and leaves MenuLines
// empty. Never indexes outside the toolbar's 100 buttons, whatever the file
// holds; a picture number is one of the 8 pictures or NoMenuPicture.
void BuildMenuToolbar(QList<QByteArray>& MenuLines, MenuBuilder& Builder);

} // namespace menu
