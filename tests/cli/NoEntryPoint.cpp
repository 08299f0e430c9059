// A loadable module that is no plug-in: it exports no EntryPointFunc, so zentrim-host must refuse
// it as bad input.
extern "C" int zentrim_not_a_plugin() {
    return 0;
}
