# The libraries of the program form layers: a library links only the ones below it. Two libraries
# that link each other (directly or round a longer loop) hide which of them a reader should read
# first, and static libraries in a loop link only because CMake repeats them. The check below
# walks the link lists of the project's own targets at configure time and stops the configure,
# naming the loop, when it finds one.

# The project's targets, in every folder under `dir`.
function(jux_project_targets dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    jux_project_targets(${sub} more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# The project's targets that `target` links (its own link list and the one it passes on).
function(jux_linked_targets target out)
  get_target_property(type ${target} TYPE)
  set(links)
  if(NOT type STREQUAL "INTERFACE_LIBRARY")
    get_target_property(own ${target} LINK_LIBRARIES)
    if(own)
      list(APPEND links ${own})
    endif()
  endif()
  get_target_property(passed ${target} INTERFACE_LINK_LIBRARIES)
  if(passed)
    list(APPEND links ${passed})
  endif()
  set(result)
  foreach(link IN LISTS links)
    string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
    if(link IN_LIST JUX_CYCLE_TARGETS)
      list(APPEND result ${link})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES result)
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# Depth-first walk from `target`; `path` holds the targets on the way to it. A target met again
# while it is still on the way closes a loop.
function(jux_walk_links target path)
  get_property(state GLOBAL PROPERTY JUX_CYCLE_STATE_${target})
  if(state STREQUAL "done")
    return()
  endif()
  if(state STREQUAL "open")
    list(FIND path ${target} at)
    list(SUBLIST path ${at} -1 loop)
    list(APPEND loop ${target})
    list(JOIN loop " -> " shown)
    message(FATAL_ERROR "The libraries link each other in a loop: ${shown}. "
                        "Each library may link only the libraries below it.")
  endif()
  set_property(GLOBAL PROPERTY JUX_CYCLE_STATE_${target} open)
  jux_linked_targets(${target} links)
  foreach(link IN LISTS links)
    jux_walk_links(${link} "${path};${target}")
  endforeach()
  set_property(GLOBAL PROPERTY JUX_CYCLE_STATE_${target} done)
endfunction()

# Stops the configure when the project's targets link each other in a loop.
function(jux_check_library_cycles)
  jux_project_targets(${CMAKE_SOURCE_DIR} JUX_CYCLE_TARGETS)
  foreach(target IN LISTS JUX_CYCLE_TARGETS)
    set_property(GLOBAL PROPERTY JUX_CYCLE_STATE_${target} "")
  endforeach()
  foreach(target IN LISTS JUX_CYCLE_TARGETS)
    jux_walk_links(${target} "")
  endforeach()
  list(LENGTH JUX_CYCLE_TARGETS count)
  message(STATUS "Library links checked: ${count} targets, no loop")
endfunction()
