#pragma once
// Byte encodings of part-program files. A file is UTF-8 when its bytes are well-formed
// UTF-8 by the platform's one codec (with or without a byte-order mark), otherwise
// Windows-1252, which maps every byte to a character so that nothing is lost on the way
// back. UTF-8 goes both ways through that codec; Windows-1252 is this file's own table.

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>

enum class TTextEncoding : std::uint8_t { Utf8, Utf8Bom, Windows1252 };

bool IsValidUtf8(QByteArrayView bytes);
TTextEncoding DetectTextEncoding(QByteArrayView bytes);
// The bytes that start a file of this encoding (the byte-order mark), or none.
QByteArrayView EncodingPreamble(TTextEncoding encoding);

QString DecodeText(QByteArrayView bytes, TTextEncoding encoding);

// False when a character has no byte form in the encoding (only Windows-1252 can fail).
bool CanEncode(QStringView text, TTextEncoding encoding);
// The most bytes EncodeText can write for a text of this many UTF-16 units.
qsizetype MaxEncodedSize(qsizetype units, TTextEncoding encoding);
// Writes the text's bytes at out and returns the end. A lone surrogate becomes U+FFFD
// in UTF-8 and an unencodable character "?" in Windows-1252.
char* EncodeText(QStringView text, TTextEncoding encoding, char* out);
