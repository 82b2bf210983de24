# bash completion for tarvex-host. Written by hand: the tool has no command
# tree to generate it from. Its subcommands and options are those of
# `tarvex-host --help` and `tarvex-host SUBCOMMAND --help`.

# _tarvex_host_names KIND: the names of KIND (fault-operation, fault-object,
# host) of the store the line names, from the tool itself (it reads the store
# without changing it), that start with $cur, into COMPREPLY.
_tarvex_host_names() {
  local i store='' word
  for ((i = 1; i < cword - 1; i++)); do
    [[ ${COMP_WORDS[i]} == --store ]] || continue
    store=${COMP_WORDS[i + 1]}
    [[ $store == = ]] && store=${COMP_WORDS[i + 2]-}
  done
  local -a ask=(--complete-names "$1")
  [[ -n $store ]] && ask=(--store "$store" "${ask[@]}")
  while IFS= read -r word; do
    printf -v word '%q' "$word"
    [[ $word == "$cur"* ]] && COMPREPLY+=("$word")
  done < <("${COMP_WORDS[0]}" "${ask[@]}" 2>/dev/null)
}

_tarvex_host() {
  local cword=$COMP_CWORD cur=${COMP_WORDS[COMP_CWORD]} prev='' word i
  local command='' action='' operands=0 words
  COMPREPLY=()
  # bash splits "--name=value" at the '=': the option is the word before it.
  ((cword > 0)) && prev=${COMP_WORDS[cword - 1]}
  if [[ $cur == = ]]; then
    cur=''
  elif [[ $prev == = ]] && ((cword > 1)); then
    prev=${COMP_WORDS[cword - 2]}
  fi
  case $prev in
    --store | --fixture)
      compopt -o filenames 2>/dev/null
      mapfile -t COMPREPLY < <(compgen -f -- "$cur")
      return
      ;;
    --operation) _tarvex_host_names fault-operation; return ;;
    --object) _tarvex_host_names fault-object; return ;;
    --on-host) _tarvex_host_names host; return ;;
    --message | --nth | --times)
      return
      ;;
  esac

  # The subcommand, its action (fault, feature) and the operands after it;
  # --store and --on-host may stand anywhere and take a value.
  for ((i = 1; i < cword; i++)); do
    word=${COMP_WORDS[i]}
    case $word in
      --store | --on-host | --fixture | --operation | --object | --message | --nth | --times)
        ((i++))
        [[ ${COMP_WORDS[i]-} == = ]] && ((i++))
        # bash splits a value at each ':' ("/tmp/a:b"); the pieces are one value.
        while [[ ${COMP_WORDS[i + 1]-} == : ]] && ((i + 1 < cword)); do ((i += 2)); done
        ((i >= cword)) && return  # the cursor is inside that value
        ;;
      -*) ;;
      *)
        if [[ -z $command ]]; then
          command=$word
        elif [[ -z $action && ($command == fault || $command == feature || $command == host || $command == device) ]]; then
          action=$word
        else
          ((operands++))
        fi
        ;;
    esac
  done

  case $command in
    '') words='init dump restart fault feature events host device' ;;
    init) words='--fixture --force --hosts' ;;
    dump | restart) words='' ;;
    fault)
      case $action in
        '') words='add list clear' ;;
        add) words='--operation --object --message --nth --times' ;;
        *) words='' ;;
      esac
      ;;
    feature)
      case $action in
        '') words='list set' ;;
        set) [[ $operands == 1 ]] && words='on off' || words='' ;;
        *) words='' ;;
      esac
      ;;
    events) words='--json --clear' ;;
    device)
      case $action in
        '') words='detach attach' ;;
        *)
          [[ $cur != -* ]] && _tarvex_host_names device
          return
          ;;
      esac
      ;;
    host)
      case $action in
        '') words='list add remove crash boot' ;;
        remove | crash | boot)
          [[ $operands == 0 && $cur != -* ]] && _tarvex_host_names host
          return
          ;;
        add) words='--no-ats-only' ;;
        *) words='' ;;
      esac
      ;;
    *) return ;;
  esac
  if [[ $cur == -* ]]; then
    if [[ -z $command ]]; then
      words='--store --on-host --dry-run --help --version'
    elif [[ $command == init ]]; then
      words="$(compgen -W "$words" -- -) --store --help"
    else
      words="$(compgen -W "$words" -- -) --store --on-host --help"
    fi
  fi
  mapfile -t COMPREPLY < <(compgen -W "$words" -- "$cur")
}

complete -F _tarvex_host tarvex-host
