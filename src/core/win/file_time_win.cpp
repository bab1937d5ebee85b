// Conversions between FILETIME and the file time record.
#include "core/win/file_time_win.h"

namespace core {

FileTimeRecord from_file_time(const FILETIME& time) {
  FileTimeRecord record;
  FILETIME local;
  SYSTEMTIME parts;
  if (!FileTimeToLocalFileTime(&time, &local) || !FileTimeToSystemTime(&local, &parts)) return record;
  record.year = parts.wYear;
  record.month = parts.wMonth;
  record.day = parts.wDay;
  record.hour = parts.wHour;
  record.minute = parts.wMinute;
  record.second = parts.wSecond;
  return record;
}

bool to_file_time(const FileTimeRecord& record, FILETIME& out) {
  if (record.month < 1 || record.month > 12 || record.hour < 0 || record.year < 1601 || record.year > 30827) {
    return false;
  }
  SYSTEMTIME parts = {};
  parts.wYear = static_cast<WORD>(record.year);
  parts.wMonth = static_cast<WORD>(record.month);
  parts.wDay = static_cast<WORD>(record.day);
  parts.wHour = static_cast<WORD>(record.hour);
  parts.wMinute = static_cast<WORD>(record.minute);
  parts.wSecond = static_cast<WORD>(record.second);
  FILETIME local;
  FILETIME utc;
  if (!SystemTimeToFileTime(&parts, &local) || !LocalFileTimeToFileTime(&local, &utc)) return false;
  out = utc;
  return true;
}

}  // namespace core
