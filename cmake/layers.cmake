# The layers of the program, seen in the paths: every #include "…" of a
# source file points down, never up nor across to another window.
#
#   store/                 the table layer
#   diary/rules/           the rules the whole program shares
#   <subsystem>/rules/     each subsystem's own plain rules
#   controls/              the controls and desktop services of the windows
#   main/ tools/ help/     the three windows
#   app/                   the program, which puts them together
#
# The installer stands on the shared rules and the table layer only.
#
# Included by the top CMakeLists.txt, it checks the sources when the build is
# configured; run as a script (cmake -DKELVARA_SOURCE_DIR=… -DKELVARA_STAMP=…
# -P layers.cmake), it checks them again in every build in which a source
# changed, and stamps a passed check.

cmake_policy(VERSION 3.25)

# A file's layer: the first pattern its path (from the source folder) matches.
set(KELVARA_LAYERS
  store "^store/"
  diary_rules "^diary/rules/"
  diary "^diary/"
  controls_rules "^controls/rules/"
  main_rules "^main/(.+/)?rules/"
  tools_rules "^tools/rules/"
  help_rules "^help/rules/"
  controls "^controls/"
  install "^install/"
  res "^res/"
  main "^main/"
  tools "^tools/"
  help "^help/"
  app "^app/")

# What each layer may include besides itself.
set(KELVARA_BELOW_store "")
set(KELVARA_BELOW_diary_rules store)
set(KELVARA_BELOW_diary store diary_rules)
set(KELVARA_BELOW_controls_rules store diary_rules)
set(KELVARA_BELOW_main_rules store diary_rules)
set(KELVARA_BELOW_tools_rules store diary_rules)
set(KELVARA_BELOW_help_rules store diary_rules)
set(KELVARA_BELOW_controls store diary_rules controls_rules)
set(KELVARA_BELOW_install store diary_rules)
set(KELVARA_BELOW_res "")
set(KELVARA_BELOW_main store diary_rules diary controls_rules controls main_rules)
set(KELVARA_BELOW_tools store diary_rules diary controls_rules controls tools_rules)
set(KELVARA_BELOW_help store diary_rules diary controls_rules controls help_rules)
set(KELVARA_BELOW_app store diary_rules diary controls_rules controls main_rules tools_rules help_rules install
    res main tools help)

# The one include across the windows that stays until the windows share the
# diary: the tools window works on the main window's tables and categories.
set(KELVARA_ACROSS "tools/.*: main/zeb6.h")

# The layer of `path` into `out`, empty when it lies in none.
function(kelvara_layer_of path out)
  set(layers ${KELVARA_LAYERS})
  while(layers)
    list(POP_FRONT layers name pattern)
    if(path MATCHES "${pattern}")
      set(${out} ${name} PARENT_SCOPE)
      return()
    endif()
  endwhile()
  set(${out} "" PARENT_SCOPE)
endfunction()

# The program's sources under `root`, relative to it. Configuring looks
# again whenever a source is added or removed.
function(kelvara_layer_sources root out)
  set(again "")
  if(NOT CMAKE_SCRIPT_MODE_FILE)
    set(again CONFIGURE_DEPENDS)
  endif()
  set(sources "")
  foreach(folder store diary controls main tools help install res app)
    file(GLOB_RECURSE found ${again} RELATIVE ${root} ${root}/${folder}/*.h ${root}/${folder}/*.cpp
         ${root}/${folder}/*.in)
    list(APPEND sources ${found})
  endforeach()
  set(${out} ${sources} PARENT_SCOPE)
endfunction()

# Fails, naming each file and what it includes, when an include of the
# sources under `root` points up or across.
function(kelvara_check_layers root)
  kelvara_layer_sources(${root} sources)
  set(wrong "")
  foreach(source IN LISTS sources)
    kelvara_layer_of(${source} from)
    file(STRINGS ${root}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" included "${line}")
      kelvara_layer_of(${included} to)
      if(to STREQUAL from OR to IN_LIST KELVARA_BELOW_${from})
        continue()
      endif()
      set(allowed FALSE)
      foreach(across IN LISTS KELVARA_ACROSS)
        string(REGEX MATCH "^(.*): (.*)$" pair "${across}")
        set(sources_across "${CMAKE_MATCH_1}")
        set(included_across "${CMAKE_MATCH_2}")
        if(source MATCHES "^${sources_across}$" AND included STREQUAL included_across)
          set(allowed TRUE)
        endif()
      endforeach()
      if(allowed)
        continue()
      endif()
      if(to STREQUAL "")
        string(APPEND wrong "\n  ${source} includes \"${included}\", which lies in no layer")
      else()
        string(APPEND wrong "\n  ${source} (${from}) includes \"${included}\" (${to}), which is not below it")
      endif()
    endforeach()
  endforeach()
  if(wrong)
    message(FATAL_ERROR "Includes that point up or across the layers:${wrong}")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  kelvara_check_layers(${KELVARA_SOURCE_DIR})
  file(TOUCH ${KELVARA_STAMP})
endif()
