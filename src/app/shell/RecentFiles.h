#pragma once
// A recent-files list: newest first, at most ten names, each once whatever its letter
// case. The data module keeps one for part programs and one for plug-ins.

#include <QStringList>

class TRecentFiles {
public:
    static constexpr int Capacity = 10;

    // An empty name does nothing; any other moves to the head.
    void Add(const QString& fileName);
    // Removes every entry equal to the name, ignoring case.
    void Remove(const QString& fileName);
    // As Add, but an empty name goes to the head too.
    void Promote(const QString& fileName);

    int Count() const { return static_cast<int>(FItems.size()); }
    // Empty when the index is out of range.
    QString Get(int index) const { return FItems.value(index); }
    const QStringList& Items() const { return FItems; }
    void Clear() { FItems.clear(); }

private:
    QStringList FItems;
};
