# bash completion for xelimg: commands, each command's options (read from its --help, so they never
# go out of date), the fixed values of options and files of the right kind.

_xelimg() {
  local cur prev words cword split
  _init_completion -s || return

  if ((cword == 1)); then
    COMPREPLY=($(compgen -W 'list settings pseudo temperature info demo view dialog --help --version' -- "$cur"))
    return
  fi
  local command=${words[1]}

  case $prev in
    --profile)
      COMPREPLY=($(compgen -W '0 1 2 3 4 grey clipping' -- "$cur"))
      return ;;
    --auto)
      COMPREPLY=($(compgen -W 'contrast brightness' -- "$cur"))
      return ;;
    --compression)
      COMPREPLY=($(compgen -W 'fast small' -- "$cur"))
      return ;;
    --legend)
      COMPREPLY=($(compgen -W 'right bottom' -- "$cur"))
      return ;;
    --bits)
      COMPREPLY=($(compgen -W '8 16' -- "$cur"))
      return ;;
    --plugin)
      _filedir so
      return ;;
    --ini | --settings | --from | --state)
      _filedir ini
      return ;;
    --out | --snapshot)
      _filedir png
      return ;;
    --temperature-map)
      _filedir '@(tif|tiff)'
      return ;;
    --jobs | --threads | --frames | --timeout | --input-bits | --max-memory | --lower | --upper | --range | \
      --aoi | --title | --epsilon | --size | --input | --cursor)
      return ;;
  esac
  $split && return

  # Only before "--": after it every word is an operand.
  local i
  for ((i = 2; i < cword; i++)); do
    [[ ${words[i]} == -- ]] && { _filedir; return; }
  done

  if [[ $cur == -* ]]; then
    local options
    options=$("${words[0]}" "$command" --help 2>/dev/null | grep -o -- '--[a-z][a-z0-9-]*' | sort -u)
    COMPREPLY=($(compgen -W "$options --help --" -- "$cur"))
    return
  fi

  case $command in
    settings)
      if ((cword == 2)); then
        COMPREPLY=($(compgen -W 'export import' -- "$cur"))
      else
        _filedir ini
      fi ;;
    dialog)
      if ((cword == 2)); then
        COMPREPLY=($(compgen -W 'pseudo scale temperature' -- "$cur"))
      else
        _filedir
      fi ;;
    demo)
      _filedir -d ;;
    list) ;;
    *)
      _filedir ;;
  esac
} &&
  complete -F _xelimg xelimg
