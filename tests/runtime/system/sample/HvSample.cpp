// A tiny outside library for the library loader's tests.

extern "C" __attribute__((visibility("default"))) int HvSampleTwice(int value)
{
    return 2 * value;
}
