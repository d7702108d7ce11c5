// Stands in Resources/plugins as an SDK library that does not export XPLMFindSymbol, for hosts that lack it.
extern "C" __attribute__((visibility("default"))) int XPLMWithoutFindSymbolMarker() {
  return 1;
}
