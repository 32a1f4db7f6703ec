// A shared library that loads but has none of the port library's exports.
extern "C" int NotAPortLibrary() { return 0; }
