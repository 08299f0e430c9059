# The plug-in's properties as the host reads them: the one description from which the build writes
# the Windows resource (Zentrim_PiPL.rc) and the macOS resource file (Zentrim.rsrc), with
# GeneratePiPL.py. The entry point is also the one symbol the module exports; the kind is also the
# macOS bundle's package type.
set(ZENTRIM_PLUGIN_KIND "AEgx")  # a general plug-in (AEGP)
set(ZENTRIM_PLUGIN_NAME "Zentrim")
set(ZENTRIM_PLUGIN_CATEGORY "General Plugin")
set(ZENTRIM_PLUGIN_VERSION "0x00190001")  # the property list's vers value
set(ZENTRIM_PLUGIN_ENTRY_POINT "EntryPointFunc")

# The host application's creator code: the macOS bundle's signature.
set(ZENTRIM_PLUGIN_HOST_SIGNATURE "FXTC")
