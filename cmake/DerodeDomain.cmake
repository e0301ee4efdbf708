# The headless domain library: standard C++ only. It never links Qt, so a Qt header included
# there fails to compile. Each subsystem folder under src/ adds its sources by being there.
# Used by the normal build and by the fuzz build alike.
function(derode_add_domain_library)
  set(domain_sources)
  foreach(sub IN LISTS DERODE_DOMAIN_SUBSYSTEMS)
    file(GLOB_RECURSE sub_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${sub}/*.cpp)
    list(APPEND domain_sources ${sub_sources})
  endforeach()
  add_library(derode_domain STATIC ${domain_sources})
  target_include_directories(derode_domain PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(derode_domain PRIVATE -Wall -Wextra)
  target_compile_definitions(derode_domain PUBLIC DERODE_VERSION_TEXT="${PROJECT_VERSION}")
endfunction()
