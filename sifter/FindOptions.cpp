#include "sifter/FindOptions.h"

void CFindOptions::Reset() {
    sBaseFolder.Empty();
    sFileMask = "*.*";
    bSubfolders = FALSE;
    dwOptionsFlags = 0;
    nMinSize = nMaxSize = 0;
    CTime now = CTime::GetCurrentTime();
    tMinCreated = tMaxCreated = now;
    tMinModified = tMaxModified = now;
    tMinAccessed = tMaxAccessed = now;
    dwFileAttributes = 0;
}
