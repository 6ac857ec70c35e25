#pragma once
// Icons and type names of file lists (the open and save dialogs, the quick view) from
// what the system says of an entry, never from its content. Qt's own provider reads a
// file whose name tells nothing of its type (".sbp") to guess it, on the window's
// thread or on the model's: on a link to the kernel's log that read waits, and holds the
// window, or the model's thread and with it the end of the program.
//
// Its icons hold pixmaps of the style's small icon size only, so a list that asks a
// larger size (a list view asks the style's list-view size, 24 pixels in Fusion, and the
// style's own icons scale their 32-pixel pixmap down to it) still draws them small and
// keeps its rows compact.

class QAbstractFileIconProvider;
class QIcon;

// One provider for every list, made on first use (on the window's thread) and never
// freed: a model's thread may ask it until the very end.
QAbstractFileIconProvider* EntryKindIconProvider();

// `icon` with only its pixmaps of the style's small icon size (one per device pixel
// ratio of the screens); what it draws at a larger size stays that small.
QIcon SmallEntryIcon(const QIcon& icon);
