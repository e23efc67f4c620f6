// TTzBlobStream: the memo of a memo field in the active record of a table
// dataset as a stream of bytes. Reading streams the stored value; writing
// puts the dataset in edit state and stores a new value (at the end of the
// memo file) whose block the field takes when the stream is destroyed; the
// record is written when the dataset posts. Text is converted between the
// engine's text and an OEM table's code page as the table language asks.
// Each stream reads from a position of its own; one value of a memo file is
// written at a time. A dataset that closes finishes the streams still open,
// which then do nothing.
#pragma once

#include <cstdint>

#include "dbase/dataset/stream.h"
#include "dbase/memo/memo_stream.h"

namespace dbase {

class TField;
class TTzDataSet;

enum class TBlobStreamMode { bmRead, bmWrite, bmReadWrite };

class TTzBlobStream : public TStream {
 public:
  // bmWrite starts an empty value, bmReadWrite one that holds the old value
  // (the position at its start). A closed dataset records error 1103 and
  // gives a stream without bytes.
  TTzBlobStream(TField& field, TBlobStreamMode mode);
  ~TTzBlobStream() override;
  TTzBlobStream(const TTzBlobStream&) = delete;
  TTzBlobStream& operator=(const TTzBlobStream&) = delete;

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;

  bool Modified() const { return modified_; }
  // The block the stream reads or writes; 0 for none.
  std::int32_t Block() const { return block_; }

 private:
  friend class TTzDataSet;
  // Ends the memo layer's stream when the dataset closes first.
  void Detach();
  bool Select(const char* operation);
  void StoreReference(std::int32_t block);

  TField& field_;
  TTzDataSet* dataset_ = nullptr;
  bool modified_ = false;
  bool writing_ = false;
  bool open_ = false;
  bool wrote_ = false;
  std::int32_t block_ = 0;
  int conversion_ = 0;
  BlobState state_;
};

}  // namespace dbase
