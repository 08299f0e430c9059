# The Host Check's properties as the host reads them, in the plug-in's own form
# (plugin/resources/PluginProperties.cmake): the build writes the Windows resource
# (HostCheck_PiPL.rc) and the macOS resource file (ZentrimHostCheck.rsrc) from them with the
# plug-in's GeneratePiPL.py. A general plug-in of its own: its own name and bundle identifier.
set(HOSTCHECK_PLUGIN_KIND "AEgx")
set(HOSTCHECK_PLUGIN_NAME "Zentrim Host Check")
set(HOSTCHECK_PLUGIN_CATEGORY "General Plugin")
set(HOSTCHECK_PLUGIN_VERSION "0x00190001")
set(HOSTCHECK_PLUGIN_ENTRY_POINT "EntryPointFunc")
set(HOSTCHECK_PLUGIN_HOST_SIGNATURE "FXTC")
set(HOSTCHECK_BUNDLE_IDENTIFIER "com.zentrim.ZentrimHostCheck")
