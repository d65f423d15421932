# bash completion for zelkora-cli: its commands, each command's options, table names of the
# tables folder after -t, and the six table encodings after --encoding. The commands and
# options are read from the program's own help, so they are never out of date.

# The words of zelkora-cli's usage line for COMMAND that are options: "-t", "--table"...
_zelkora_cli_options() {
    "$1" "$2" --help 2>/dev/null | sed -n '1{s/^usage: zelkora-cli [^ ]*//p;q}' |
        grep -oE -- '(^|[[ |])--?[a-z][a-z-]*' | sed 's/^[[ |]//' | sort -u
}

# What the user typed so far without its quoting: "CP932\ W" and "'CP932 W" are CP932 W.
_zelkora_cli_dequote() {
    local word=$1 plain="" i
    case $word in
    \'*) printf '%s' "${word#\'}"; return ;;
    \"*) word=${word#\"} ;;
    esac
    for ((i = 0; i < ${#word}; i++)); do
        if [[ ${word:i:1} == \\ ]]; then
            ((i++))
        fi
        plain+=${word:i:1}
    done
    printf '%s' "$plain"
}

_zelkora_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local program=${COMP_WORDS[0]/#\~/$HOME}
    COMPREPLY=()
    # --table=NAME: readline splits the word at "=".
    if [[ $cur == = ]]; then
        prev=${COMP_WORDS[COMP_CWORD - 1]}
        cur=
    elif [[ $prev == = ]] && ((COMP_CWORD >= 2)); then
        prev=${COMP_WORDS[COMP_CWORD - 2]}
    fi

    if ((COMP_CWORD == 1)); then
        local commands
        commands=$("$program" --help 2>/dev/null |
            sed -n '/^Commands:/,/^$/s/^  \([a-z][a-z-]*\) .*/\1/p')
        mapfile -t COMPREPLY < <(compgen -W "$commands --help --version --paths" -- "$cur")
        return
    fi

    case $prev in
    -t | --table)
        # A name of the tables folder, or any file, as -t takes both. The names are handed
        # to readline as they are: -o filenames quotes their spaces.
        compopt -o filenames 2>/dev/null
        local typed folder name
        typed=$(_zelkora_cli_dequote "$cur")
        folder=$("$program" --paths 2>/dev/null | sed -n 's/^tables\t//p')
        if [[ -n $folder && $typed != */* ]]; then
            for name in "$folder"/*; do
                name=${name##*/}
                [[ -f $folder/$name && $name != .* && $name != *~ && $name == "$typed"* ]] &&
                    COMPREPLY+=("$name")
            done
        fi
        mapfile -t -O "${#COMPREPLY[@]}" COMPREPLY < <(compgen -f -- "$typed")
        return
        ;;
    --encoding)
        mapfile -t COMPREPLY < <(compgen -W "SJIS EUC JIS UTF7 UTF8 UNICODE" -- "$cur")
        return
        ;;
    --charset | --range | --title | --offset | --length | --context | --hit)
        return
        ;;
    esac

    if [[ $cur == -* ]]; then
        local options
        options=$(_zelkora_cli_options "$program" "${COMP_WORDS[1]}")
        mapfile -t COMPREPLY < <(compgen -W "$options --help" -- "$cur")
        return
    fi
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(compgen -f -- "$(_zelkora_cli_dequote "$cur")")
}

complete -F _zelkora_cli zelkora-cli
