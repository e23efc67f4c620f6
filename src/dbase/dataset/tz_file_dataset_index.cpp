// The index commands of the file-backed dataset: building an index and
// opening index files on its work area, also indexes whose keys a callback
// makes from the dataset's fields (see tz_file_dataset.h).
#include <algorithm>
#include <tuple>
#include <type_traits>

#include "dbase/dataset/tz_file_dataset.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/work_areas.h"
#include "dbase/index/index_commands.h"

namespace dbase {

bool TTzFileDataSet::IndexCommand(const std::string& operation, const std::function<void()>& command) {
  // A pending edit is posted first, as a move would post it: the index
  // takes its keys, and the resync after the command would lose it.
  if (Active()) {
    CheckBrowseMode();
    UpdateCursor();
  }
  if (!SelectWorkArea(operation)) return false;
  TzError = 0;
  command();
  const bool ok = TzError == 0;
  ResyncAfterCommand();
  return ok;
}

bool TTzFileDataSet::IndexOn(const std::string& expression, const std::string& fileName) {
  return IndexCommand("IndexOn", [&] {
    // The command closes every index of the area first.
    keyMakers_.fill({});
    Index_On(expression, fileName);
  });
}

bool TTzFileDataSet::SetIndexTo(const std::string& names) {
  return IndexCommand("SetIndexTo", [&] {
    keyMakers_.fill({});
    Set_Index_To(names);
  });
}

void TTzFileDataSet::MakeCallbackKey(int slot, std::string& key) {
  static_assert(std::tuple_size_v<decltype(keyMakers_)> == kMaxIndexSlots + 1);
  if (slot < 1 || slot > kMaxIndexSlots) return;
  const KeyMakerEntry& entry = keyMakers_[static_cast<std::size_t>(slot)];
  if (!entry.callback) return;
  // The fields show the engine's record while the callback runs; the active
  // record comes back afterwards, also when the callback raises.
  struct Restore {
    TRecordBuffer& active;
    TRecordBuffer saved;
    ~Restore() { active = std::move(saved); }
  } restore{ActiveBuffer(), ActiveBuffer()};
  TRecordBuffer& active = ActiveBuffer();
  RecordToDataset(active.data);
  active.recNo = std::max<std::int64_t>(1, dbase::RecNo());
  active.flag = TBookmarkFlag::Current;
  entry.callback(*this, entry.context, key);
}

KeyMakerProc TTzFileDataSet::EngineKeyMaker() {
  static_assert(std::is_same_v<KeyMakerProc, decltype(EngineKeyMaker())>);
  return [this](void*, int slot, std::string& key) { MakeCallbackKey(slot, key); };
}

bool TTzFileDataSet::IndexOnCB(const std::string& nameWithOptions, TTzKeyMakerCallback callback, void* context) {
  return IndexCommand("IndexOnCB", [&] {
    keyMakers_.fill({});
    keyMakers_[1] = {std::move(callback), context};
    dbase::IndexOn(nameWithOptions, EngineKeyMaker(), context);
    if (TzError != 0) keyMakers_[1] = {};
  });
}

bool TTzFileDataSet::SetIndexToCB(const std::string& nameWithOptions, int slot, TTzKeyMakerCallback callback,
                                  void* context) {
  return IndexCommand("SetIndexToCB", [&] {
    if (slot < 1 || slot > kMaxIndexSlots) {
      SetError(220, "Index Order parameter out of range [SetIndexToCB(" + nameWithOptions + "," +
                        std::to_string(slot) + ")]");
      return;
    }
    keyMakers_[static_cast<std::size_t>(slot)] = {std::move(callback), context};
    if (!dbase::SetIndexTo(nameWithOptions, slot, EngineKeyMaker(), context)) {
      keyMakers_[static_cast<std::size_t>(slot)] = {};
      return;
    }
    if (slot == 1) Set_Order_To(1);
  });
}

bool TTzFileDataSet::SetIndexToLFN(const std::string& fileName, int slot) {
  return IndexCommand("SetIndexToLFN", [&] {
    if (slot >= 1 && slot <= kMaxIndexSlots) keyMakers_[static_cast<std::size_t>(slot)] = {};
    if (dbase::SetIndexToLFN(fileName, slot) && slot == 1) Set_Order_To(1);
  });
}

void TTzFileDataSet::CloseHook() {
  TTzCDataSet::CloseHook();
  keyMakers_.fill({});
}

}  // namespace dbase
