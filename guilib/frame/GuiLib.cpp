// Anchors the library while its folders fill up; each folder adds its own sources.
namespace guilib { int LibraryLinked() { return 1; } }
