// The on-disk layout of .dbf table files as named constants: the 32-byte
// prolog, the level-7 extension, the field descriptors of each version, the
// fixed dBASE II header, and the version bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dbase::layout {

// Prolog (all integers little-endian).
inline constexpr std::size_t kPrologSize = 32;
inline constexpr std::size_t kVersionOffset = 0;
inline constexpr std::size_t kYearOffset = 1;  // year - 1900
inline constexpr std::size_t kMonthOffset = 2;
inline constexpr std::size_t kDayOffset = 3;
inline constexpr std::size_t kRecordCountOffset = 4;    // 32-bit
inline constexpr std::size_t kHeaderLengthOffset = 8;   // 16-bit
inline constexpr std::size_t kRecordLengthOffset = 10;  // 16-bit
// Bytes another program may use; the header rewrite re-reads them.
inline constexpr std::size_t kForeignBytesOffset = 16;
inline constexpr std::size_t kForeignBytesSize = 12;

// Level-7 extension after the prolog.
inline constexpr std::size_t kLevel7ExtensionSize = 36;
inline constexpr char kLevel7LanguageDriver[] = "DBWINWE0";

// Field descriptors (versions 0x03, 0x83, 0x8B, 0xF5).
inline constexpr std::size_t kDescriptorSize = 32;
inline constexpr std::size_t kDescNameSize = 11;
inline constexpr std::size_t kDescTypeOffset = 11;
inline constexpr std::size_t kDescLengthOffset = 16;
inline constexpr std::size_t kDescDecimalsOffset = 17;
// Level-7 descriptors (versions 0x04, 0x8C).
inline constexpr std::size_t kLevel7DescriptorSize = 48;
inline constexpr std::size_t kL7DescTypeOffset = 32;
inline constexpr std::size_t kL7DescLengthOffset = 33;
inline constexpr std::size_t kL7DescDecimalsOffset = 34;

inline constexpr std::uint8_t kHeaderTerminator = 0x0D;
inline constexpr std::uint8_t kDefaultEndOfFile = 0x1A;
inline constexpr int kMaxFields = 255;

// dBASE II: a fixed 521-byte header.
inline constexpr std::size_t kDbase2HeaderSize = 521;
inline constexpr std::size_t kDbase2RecordCountOffset = 1;  // 16-bit
inline constexpr std::size_t kDbase2MonthOffset = 3;
inline constexpr std::size_t kDbase2DayOffset = 4;
inline constexpr std::size_t kDbase2YearOffset = 5;
inline constexpr std::size_t kDbase2RecordLengthOffset = 6;  // 16-bit
inline constexpr std::size_t kDbase2PrologSize = 8;
inline constexpr std::size_t kDbase2DescriptorArea = 512;
inline constexpr std::size_t kDbase2DescriptorSize = 16;
inline constexpr int kDbase2MaxFields = 32;
inline constexpr std::size_t kDbase2DescTypeOffset = 11;
inline constexpr std::size_t kDbase2DescLengthOffset = 12;
inline constexpr std::size_t kDbase2DescDecimalsOffset = 15;

// Version bytes.
inline constexpr std::uint8_t kVersionDbase2 = 0x02;
inline constexpr std::uint8_t kVersionPlain = 0x03;
inline constexpr std::uint8_t kVersionDbase3Memo = 0x83;
inline constexpr std::uint8_t kVersionDbase4Memo = 0x8B;
inline constexpr std::uint8_t kVersionFoxMemo = 0xF5;
inline constexpr std::uint8_t kVersionLevel7 = 0x04;
inline constexpr std::uint8_t kVersionLevel7Memo = 0x8C;
inline constexpr std::uint8_t kVersionFoxBase = 0x30;

// Memo file headers written when a table with memo is created.
inline constexpr std::size_t kMemoHeaderBlock = 512;
inline constexpr std::size_t kDbase3MemoHeaderSize = 513;
inline constexpr std::size_t kDbase4MemoHeaderSize = 24;

// Marks of the deleted flag in the record.
inline constexpr char kDeletedMark = '*';
inline constexpr char kActiveMark = ' ';

}  // namespace dbase::layout
