// Whether an index matches its table. An index that does not (another
// table's index, nodes damaged, records appended while it was closed, an
// update that failed half way) is reported with error 222, naming the index
// and asking for a rebuild, instead of being walked short: at open when its
// anchor gives reason to doubt it, and during walks and searches when a key
// leads beyond the table or out of order.
#pragma once

#include <cstdint>
#include <string>

#include "dbase/index/index_control.h"

namespace dbase {

// What the anchor's trailer (record count and table name as the index was
// last written) says about an index about to be opened on a table.
enum class TrailerVerdict {
  Trusted,       // written for this table as it stands
  Doubtful,      // another count, another table's name, or another program's file
  NeedsRebuild,  // marked when an update of it failed
};
TrailerVerdict JudgeTrailer(const std::uint8_t* anchorBlock, const DbfTable& table);

// Walks the whole tree: node structure and key order (any tree whose keys
// stand in order within their parents' ranges, whatever the depth of its
// leaves), every entry on a record of the table holding that record's key,
// every record once (all of them in an index that is not UNIQUE). Runs in
// the read bracket, on the anchor, record count and records as the files
// hold them then; a passed check is written into the trailer (unless the
// table is open read-only), so that the next open trusts the index. False
// with error 222 otherwise.
bool CheckIndexAgainstTable(IND& ind, const std::string& operation);

// Error 222 for an index that does not match its table: "The index <file>
// does not match its table <table>: <what>. Rebuild the index. [<operation>]".
void ReportIndexMismatch(const IND& ind, const std::string& what, const std::string& operation);

// Whether an entry's record lies in the table (a shared table's count is
// looked up afresh first); reports the mismatch when it does not.
bool EntryRecordInTable(IND& ind, std::int64_t record, const std::string& operation);

}  // namespace dbase
