/* A stand-in for the optional external help module: it counts what it is handed. */
static unsigned g_calls, g_character, g_template;

void fnVazOveEntry(unsigned character, unsigned templateId) {
  ++g_calls;
  g_character = character;
  g_template = templateId;
}

unsigned HelpModuleCalls(void) { return g_calls; }
unsigned HelpModuleCharacter(void) { return g_character; }
unsigned HelpModuleTemplate(void) { return g_template; }
