// libZNOENTRYC.so: a shared library named like a program module but without
// GetController, for the shell's refusal.
extern "C" int ZNoEntryVersion()
{
    return 1;
}
