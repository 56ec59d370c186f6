#pragma once
// parsepage --engine: what an engine definition reads from a saved answer.
int RunDefinedEnginePage(int argc, char** argv);
