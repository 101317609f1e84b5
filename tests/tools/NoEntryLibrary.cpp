// A loadable library that is no plug-in: it exports a function, but neither
// VSTPluginMain nor main.

extern "C" __attribute__((visibility("default"))) int QuilloNotAPlugin() {
  return 0;
}
