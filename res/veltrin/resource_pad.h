// Resource identifiers of Veltrin's pad area.
#pragma once

// The notes margin of the pad's pages: cursor, pattern and the strip of four note marks.
#define IDC_NOTES_CURSOR 28001
#define IDB_NOTES_PATTERN 28002
#define IDB_NOTES_IMAGES 28003
