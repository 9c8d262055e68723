// Compiled by the layer tests with one target's include roots: PROBE_HEADER names a header of
// another layer, and whether this compiles says whether that target can see it.
#include PROBE_HEADER

int main() {
    return 0;
}
