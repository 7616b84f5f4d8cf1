// The file tests' child that holds a file open, built into this test program as it stands.
#include "tests/files/HeldOpenChild.cpp"
