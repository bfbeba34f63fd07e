# Replaces the topic folders beside the program with those of examples/, so that a
# folder or list removed from examples/ does not linger in bin/.
file(GLOB old_topics LIST_DIRECTORIES true ${TARGET}/*)
foreach(entry IN LISTS old_topics)
  if(IS_DIRECTORY ${entry})
    file(REMOVE_RECURSE ${entry})
  endif()
endforeach()
file(COPY ${SOURCE}/ DESTINATION ${TARGET})
