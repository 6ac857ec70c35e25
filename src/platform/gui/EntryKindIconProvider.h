#pragma once
// Icons and type names of file lists (the open and save dialogs, the quick view) from
// what the system says of an entry, never from its content. Qt's own provider reads a
// file whose name tells nothing of its type (".sbp") to guess it, on the window's
// thread or on the model's: on a link to the kernel's log that read waits, and holds the
// window, or the model's thread and with it the end of the program.

class QAbstractFileIconProvider;

// One provider for every list, made on first use (on the window's thread) and never
// freed: a model's thread may ask it until the very end.
QAbstractFileIconProvider* EntryKindIconProvider();
