cmake_minimum_required(VERSION 3.20)
# Checks the resources built into the executable, read back from the .exe:
# the icon group, the manifest's Common Controls 6 dependency and the version.
#   cmake -DEXE=... -DWINDRES=... -DARCH=x86|amd64 -DVERSION=1.0.0.0 -P check_resources.cmake
execute_process(COMMAND "${WINDRES}" -J coff -O rc -i "${EXE}"
                OUTPUT_VARIABLE res RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "windres could not read the resources of ${EXE}")
endif()

# Icon: DEFAULT_ICON is the only icon group; it lists 16, 32 and 48 pixel
# images of 16 colours, and each listed icon is a 4-bit bitmap of that size.
string(REGEX MATCHALL "RT_GROUP_ICON" groups "${res}")
list(LENGTH groups n)
if(NOT n EQUAL 1)
  message(FATAL_ERROR "expected one icon group, found ${n}")
endif()
set(entry "1, 4, 0x[0-9a-f]+L, ([0-9]+)")
if(NOT res MATCHES "\n\"DEFAULT_ICON\" 14 /\\* RT_GROUP_ICON \\*/\nBEGIN\n +0, 1, 3,[^\n]*\n( +/\\*[^\n]*\n)?\
 +\"\\\\020\\\\020\\\\020\\\\000\", ${entry},[^\n]*\n\
 +\"\\\\040\\\\040\\\\020\\\\000\", ${entry},[^\n]*\n\
 +\"\\\\060\\\\060\\\\020\\\\000\", ${entry}[^\n]*\nEND")
  message(FATAL_ERROR "no icon group DEFAULT_ICON of 16, 32 and 48 pixels at 16 colours")
endif()
set(ids ${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4})
set(sizes 10 20 30)
set(heights 20 40 60)  # an icon's bitmap header counts the mask rows too
foreach(i RANGE 2)
  list(GET ids ${i} id)
  list(GET sizes ${i} w)
  list(GET heights ${i} h)
  if(NOT res MATCHES "\n${id} 3 /\\* RT_ICON \\*/\nBEGIN\n +0x28L +, 0x${w}L +, 0x${h}L +, 0x40001L")
    message(FATAL_ERROR "icon ${id} is not a 4-bit bitmap of 0x${w} pixels")
  endif()
endforeach()
message(STATUS "icon group DEFAULT_ICON: icons ${ids}, 16/32/48 pixels, 4 bits per pixel")

# Manifest (RT_MANIFEST 1): windres prints it as split string literals; join them.
if(NOT res MATCHES "\n1 24 /\\* RT_MANIFEST \\*/\nBEGIN\n(.*)\nEND")
  message(FATAL_ERROR "no manifest with id 1")
endif()
string(REGEX REPLACE "\nEND.*" "" manifest "${CMAKE_MATCH_1}")
string(REGEX REPLACE "\"\n *\"" "" manifest "${manifest}")
string(REPLACE "\"\"" "\"" manifest "${manifest}")
string(REGEX MATCHALL "<dependentAssembly>" deps "${manifest}")
list(LENGTH deps n)
if(NOT n EQUAL 1)
  message(FATAL_ERROR "expected one dependency in the manifest, found ${n}:\n${manifest}")
endif()
if(NOT manifest MATCHES "<dependentAssembly>[ \n\\\\n]*<assemblyIdentity type=\"win32\" \
name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" processorArchitecture=\"${ARCH}\" \
publicKeyToken=\"6595b64144ccf1df\" language=\"\\*\"/>")
  message(FATAL_ERROR "the manifest names no ${ARCH} Common Controls 6.0.0.0:\n${manifest}")
endif()
if(manifest MATCHES "dpiAware")
  message(FATAL_ERROR "the manifest sets a DPI mode")
endif()
message(STATUS "manifest: Common Controls 6.0.0.0 for ${ARCH}")

# Version information, numbers from the project() line.
string(REPLACE "." ", " commas "${VERSION}")
if(NOT res MATCHES "\n1 VERSIONINFO\n FILEVERSION ${commas}\n PRODUCTVERSION ${commas}\n")
  message(FATAL_ERROR "FILEVERSION and PRODUCTVERSION are not ${VERSION}")
endif()
string(REGEX MATCHALL "BLOCK \"[0-9a-fA-F]+\"" tables "${res}")
if(NOT tables STREQUAL "BLOCK \"080404b0\"")
  message(FATAL_ERROR "expected one string table 080404b0, found: ${tables}")
endif()
foreach(value "\"FileVersion\", \"${VERSION}\"" "\"ProductVersion\", \"${VERSION}\""
              "\"OriginalFilename\", \"autopause.exe\"" "\"Translation\", 0x804, 1200")
  string(FIND "${res}" "VALUE ${value}\n" at)
  if(at LESS 0)
    message(FATAL_ERROR "no version value ${value}")
  endif()
endforeach()
message(STATUS "version ${VERSION}, strings 080404b0, translation 0x0804/1200")
