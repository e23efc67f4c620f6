// Raw access to one field of any record of the current area's table,
// directly in the file: Peek reads (optionally through a read cache of
// consecutive records), Poke writes, GetFieldText gives a field as text for
// tables and virtual files alike. The text is the engine's (ISO 8859-1):
// the table's code page and translation procedures apply as for records.
#pragma once

#include <cstdint>
#include <string>

namespace dbase {

// Bytes of the read cache of Peek (0 = no cache).
extern std::uint16_t PeekCacheSize;

// The raw text of a field (0 = the deleted flag, "*" or " ") of a record;
// empty when the field or record is out of range.
void Peek(int fieldNo, std::int64_t recordNo, std::string& text);
// Writes the text (cut to the field's length) into the field of a record.
// In a shared table the area must hold the file lock or that record's lock.
// The current record's buffers take the new value.
void Poke(const std::string& text, int fieldNo, std::int64_t recordNo);
// The field of a record as text: for tables the raw text; for virtual files
// the value formatted as stored (dates YYYYMMDD, numbers to length and
// decimals, logicals "T" or "F", characters padded).
void GetFieldText(int fieldNo, std::int64_t recordNo, std::string& text);

// Forgets the read cache when it belongs to the alias (every alias when
// empty); the engine calls it when a table closes or is packed.
void DropPeekCache(const std::string& alias);
// Installs the read cache's entries in CommonHooks.
void InitPeekCache();

}  // namespace dbase
