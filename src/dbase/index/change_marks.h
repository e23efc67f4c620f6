// The doubt an index keeps while a change of its keys is under way. A
// record is written before its keys, and a packed table before its indexes
// are built anew: a program that ends in between (killed, a power cut)
// would leave an index that lacks a key or lists a stale one while its
// trailer still matches the table. So the trailer of every index the change
// reaches says "changing" from before the record is written until its keys
// are in, and the next open checks such an index against its table instead
// of trusting it. Appends need no mark: the count of records an index holds
// rises only once the new record's key is in.
#pragma once

#include "dbase/engine/engine_hooks.h"

namespace dbase {

// On the current work area: RecordKeys marks the indexes whose key the
// current record's new values change, AllIndexes every open index (false,
// with the error recorded and no index left marked, when a mark cannot be
// written); Done writes the anchors of the marked indexes without the mark;
// Failed leaves them in doubt, on disk and for every later write.
bool MarkChange(ChangeMark what);

}  // namespace dbase
