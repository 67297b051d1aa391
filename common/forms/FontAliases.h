#pragma once
// The project's fontconfig aliases (data/fontconfig/steward-fonts.conf, built
// in as a resource): "SimSun", "NSimSun", "宋体" and the Ming faces name an
// installed Song/Ming-style CJK font. Loaded into the process's fontconfig
// configuration once; call it before the first text is laid out in "SimSun"
// (the code-page converter and the form base do).

// True when the aliases are in place (also on every later call).
bool LoadFontAliases();
